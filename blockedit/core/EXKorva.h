#pragma once
#include <cstdint>
#include <memory>
#include <string>

class IErrorLogWriter;

// Base of the module's exception family. An exception names the function that raised or wrapped
// it and owns the exception it wraps, so a caught chain reads like a call trace from the outermost
// function down to the point of failure.
//
// Exceptions are thrown by value. Copies are deep (the whole inner chain is cloned with its
// dynamic kinds) so that the runtime may copy an exception in flight; moves hand the chain over.
// A wrapper takes the escaping exception with moveToHeap(), which keeps its kind.
class CEXKorva {
public:
    // fileName is reduced to the class text: see classFromFileName.
    CEXKorva(std::string source, const std::string& fileName, std::string procSig, std::uint32_t errorCode = 0,
             std::unique_ptr<CEXKorva> innerException = nullptr);
    virtual ~CEXKorva();
    CEXKorva(const CEXKorva& other);
    CEXKorva& operator=(const CEXKorva& other);
    CEXKorva(CEXKorva&&) noexcept = default;
    CEXKorva& operator=(CEXKorva&&) noexcept = default;

    // A heap copy of the same kind; moveToHeap steals this object's chain into it.
    virtual std::unique_ptr<CEXKorva> clone() const;
    virtual std::unique_ptr<CEXKorva> moveToHeap() &&;

    const std::string& getSource() const { return source_; }
    const std::string& getClass() const { return class_; }
    const std::string& getProcSig() const { return procSig_; }
    const std::string& getDescription() const { return description_; }
    std::uint32_t getErrorCode() const { return errorCode_; }
    std::uint32_t getSeverity() const { return severity_; }
    std::string getSeverityText() const { return severityText(severity_); }
    const CEXKorva* getInnerException() const { return innerException_.get(); }
    std::unique_ptr<CEXKorva> releaseInnerException() { return std::move(innerException_); }
    // Deletes the inner chain, innermost first; the exception itself ends with its owner.
    void deleteChain();

    // The text of the error message box: one line per wrapper with its depth in tabs, class,
    // "::" and procSig; the innermost ends with a blank line and its description.
    std::string errorMessageText() const;
    // The same trace without the class, as printed on the command line.
    std::string traceText() const;

    // Shows the error message box "Error Detected.".
    void showErrorMessage() const;
    // Prints the trace on the command line.
    void printErrorTrace() const;
    // Writes this chain into the error log of every server the writer knows, with a notice on the
    // command line for each.
    void reportToErrorLog(IErrorLogWriter& writer) const;

    static std::string severityText(std::uint32_t severity);
    // The file's base name: everything through the last '\\' (Windows file names) or '/' (ours)
    // is dropped, and a final ".cpp" (exact case) is removed.
    static std::string classFromFileName(const std::string& fileName);

protected:
    void setDescription(std::string description) { description_ = std::move(description); }
    void setSeverity(std::uint32_t severity) { severity_ = severity; }
    void setSource(std::string source) { source_ = std::move(source); }

private:
    std::string buildTrace(bool withClass) const;

    std::string source_;
    std::string class_;
    std::string procSig_;
    std::string description_;
    std::uint32_t errorCode_ = 0;
    std::uint32_t severity_ = 2;
    std::unique_ptr<CEXKorva> innerException_;
};

// Gives a kind its clone and moveToHeap so that a chain keeps the kinds it was built from.
template <class Derived>
class CEXKind : public CEXKorva {
public:
    using CEXKorva::CEXKorva;

    std::unique_ptr<CEXKorva> clone() const override {
        return std::make_unique<Derived>(static_cast<const Derived&>(*this));
    }
    std::unique_ptr<CEXKorva> moveToHeap() && override {
        return std::make_unique<Derived>(std::move(static_cast<Derived&>(*this)));
    }
};

// Where the error-log report writes: the server entries of the document monitor settings, each
// with its own XML error log.
class IErrorLogWriter {
public:
    virtual ~IErrorLogWriter() = default;
    virtual std::size_t serverCount() const = 0;
    // Appends the chain as one "error" entry to the error log of server `server`.
    virtual void writeError(std::size_t server, const CEXKorva& exception) = 0;
};
