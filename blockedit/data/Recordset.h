#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The rows a procedure returned, read to their end when the call ran (a server sends output
// values only after its rows). Walked like a forward cursor; fields are found by name without
// regard to letter case. A field the record set does not have is the driver's error (COdbcFailure).
class CRecordset {
  public:
    using Row = std::vector<std::optional<std::string>>;

    CRecordset() = default;
    CRecordset(std::vector<std::string> columns, std::vector<Row> rows);

    bool isOpen() const { return open_; }
    void close() { open_ = false; }
    // At the start and at the end at once: no rows.
    bool isBOF() const { return position_ == 0; }
    bool isEOF() const { return position_ >= rows_.size(); }
    bool isEmpty() const { return rows_.empty(); }
    void moveNext() {
        if (position_ < rows_.size()) ++position_;
    }
    std::size_t rowCount() const { return rows_.size(); }
    const std::vector<std::string>& columns() const { return columns_; }

    bool hasField(const std::string& name) const;
    bool isNull(const std::string& name) const;
    // Null reads as "" and 0.
    std::string getText(const std::string& name) const;
    int getInt(const std::string& name) const;
    double getDouble(const std::string& name) const;

  private:
    const std::optional<std::string>& field(const std::string& name) const;

    std::vector<std::string> columns_;
    std::vector<Row> rows_;
    std::size_t position_ = 0;
    bool open_ = false;
};
