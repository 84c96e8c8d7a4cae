#include "core/EXKorva.h"

#include "core/KorvaWrap.h"
#include "core/ModuleInfo.h"
#include "engine/api/Dialogs.h"
#include "engine/api/Editor.h"

CEXKorva::CEXKorva(std::string source, const std::string& fileName, std::string procSig, std::uint32_t errorCode,
                   std::unique_ptr<CEXKorva> innerException)
    : source_(std::move(source)),
      class_(classFromFileName(fileName)),
      procSig_(std::move(procSig)),
      errorCode_(errorCode),
      innerException_(std::move(innerException)) {}

CEXKorva::~CEXKorva() { deleteChain(); }

CEXKorva::CEXKorva(const CEXKorva& other)
    : source_(other.source_),
      class_(other.class_),
      procSig_(other.procSig_),
      description_(other.description_),
      errorCode_(other.errorCode_),
      severity_(other.severity_),
      innerException_(other.innerException_ ? other.innerException_->clone() : nullptr) {}

CEXKorva& CEXKorva::operator=(const CEXKorva& other) {
    if (this != &other) {
        CEXKorva copy(other);
        *this = std::move(copy);
    }
    return *this;
}

std::unique_ptr<CEXKorva> CEXKorva::clone() const { return std::make_unique<CEXKorva>(*this); }

std::unique_ptr<CEXKorva> CEXKorva::moveToHeap() && { return std::make_unique<CEXKorva>(std::move(*this)); }

void CEXKorva::deleteChain() {
    // Unlink first so that a long chain is not torn down by recursion.
    std::unique_ptr<CEXKorva> next = std::move(innerException_);
    while (next) next = std::move(next->innerException_);
}

std::string CEXKorva::buildTrace(bool withClass) const {
    std::string text;
    std::size_t depth = 0;
    for (const CEXKorva* e = this; e; e = e->innerException_.get(), ++depth) {
        text.append(depth, '\t');
        if (withClass) text += e->class_ + "::";
        text += e->procSig_;
        if (e->innerException_)
            text += '\n';
        else
            text += "\n\n" + e->description_;
    }
    return text;
}

std::string CEXKorva::errorMessageText() const { return buildTrace(true); }

std::string CEXKorva::traceText() const { return buildTrace(false); }

void CEXKorva::showErrorMessage() const {
    // Texts are UTF-8 throughout, which is also what the box shows.
    cad::messageBox("Error Detected.", errorMessageText(), cad::MessageBoxIcon::Error, cad::MessageBoxButtons::Ok);
}

void CEXKorva::printErrorTrace() const { cad::printf("%s\n", traceText()); }

void CEXKorva::reportToErrorLog(IErrorLogWriter& writer) const {
    korvaWrap(__FILE__, "CEXKorva::reportToErrorLog", [&] {
        cad::print("An error has been detected please consult the error log\n");
        for (std::size_t server = 0; server < writer.serverCount(); ++server) {
            writer.writeError(server, *this);
            cad::printf("An error has been detected in %s. Please consult the error log\n", procSig_);
        }
    });
}

std::string CEXKorva::severityText(std::uint32_t severity) {
    switch (severity) {
        case 0: return "low";
        case 1: return "medium";
        default: return "high";
    }
}

std::string CEXKorva::classFromFileName(const std::string& fileName) {
    // __FILE__ on this platform separates folders with '/'; file names from Windows use '\'.
    std::string name = fileName;
    const std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    constexpr std::string_view extension = ".cpp";
    if (name.size() >= extension.size() && name.compare(name.size() - extension.size(), extension.size(),
                                                        extension) == 0)
        name.erase(name.size() - extension.size());
    return name;
}
