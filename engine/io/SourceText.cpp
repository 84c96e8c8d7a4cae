#include "engine/io/SourceText.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>


namespace cad {

namespace {

std::string readAll(int fd, std::size_t expected) {
    // Appending through a small buffer: growing a string by resize() would zero every byte first.
    std::string data;
    data.reserve(expected + 1);
    std::vector<char> chunk(1u << 20);
    while (true) {
        const ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            throw std::system_error(errno, std::generic_category(), "cannot read");
        }
        if (n == 0) break;
        data.append(chunk.data(), static_cast<std::size_t>(n));
    }
    return data;
}

}  // namespace

SourceText::SourceText(std::string text) : owned_(std::move(text)), view_(owned_) {}

SourceText::~SourceText() {
    if (map_) ::munmap(map_, mapLength_);
}

std::shared_ptr<const SourceText> SourceText::fromFile(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) throw std::system_error(errno, std::generic_category(), "cannot read");
    const auto size = static_cast<std::size_t>(st.st_size);
    // Small files are cheaper to copy than to map; pipes and devices cannot be mapped.
    constexpr std::size_t kMapFrom = 1u << 20;
    if (S_ISREG(st.st_mode) && size >= kMapFrom) {
        void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (map != MAP_FAILED) {
            ::madvise(map, size, MADV_SEQUENTIAL);
            auto text = std::shared_ptr<SourceText>(new SourceText());
            text->map_ = map;
            text->mapLength_ = size;
            text->view_ = std::string_view(static_cast<const char*>(map), size);
            return text;
        }
    }
    return std::make_shared<const SourceText>(readAll(fd, size));
}

void SourceText::release(std::size_t begin, std::size_t end) const {
    if (!map_ || end > mapLength_ || begin >= end) return;
    static const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t from = (begin + page - 1) / page * page;
    const std::size_t to = end / page * page;
    if (from >= to) return;
    ::madvise(static_cast<char*>(map_) + from, to - from, MADV_DONTNEED);
}

}  // namespace cad
