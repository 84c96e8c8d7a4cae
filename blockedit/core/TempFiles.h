#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Files made for the length of an operation, deleted together at its end.
class CTempFiles {
public:
    void add(const std::string& path);
    // Deletes every listed file (failures are ignored) and forgets them all.
    void deleteTempFiles();
    std::size_t getCount() const { return paths_.size(); }
    const std::string& getAt(std::size_t index) const { return paths_.at(index); }

private:
    std::vector<std::string> paths_;
};
