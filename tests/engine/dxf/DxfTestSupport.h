#pragma once
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace dxftest {

// Real drawings come from the shared corpus beside the clone; a plain clone has none, and the
// tests that need it skip with SKIP_WITHOUT_CORPUS, naming where they looked.
inline std::filesystem::path corpusFolder() { return std::filesystem::path(BRINMO_CORPUS) / "ezdxf"; }

inline bool haveCorpus() { return std::filesystem::is_directory(corpusFolder()); }

inline std::vector<std::filesystem::path> corpusDrawings() {
    std::vector<std::filesystem::path> files;
    if (!haveCorpus()) return files;
    for (const auto& e : std::filesystem::directory_iterator(corpusFolder()))
        if (e.path().extension() == ".dxf") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Corpus files damaged on purpose: they read with warnings, or fail naming a line.
inline const std::set<std::string> kDamagedDrawings = {
    "duplicate_handles.dxf", "empty_handles.dxf",       "recover01.dxf",
    "recover02.dxf",         "layout_broken_links.dxf", "R12_with_trash_beyond_EOF.dxf"};

// A copy the test may save over: the corpus files are read-only, and a save refuses those.
inline void copyWritable(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::filesystem::copy_file(from, to);
    std::filesystem::permissions(to, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

#define SKIP_WITHOUT_CORPUS()                                                                   \
    if (!dxftest::haveCorpus())                                                                 \
    GTEST_SKIP() << "the shared drawing corpus is not there; looked in " << dxftest::corpusFolder().string()

// A fresh folder under the system temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "brinmo-dxf-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void spit(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// Runs a script of tests/data/dxf with the interpreter that has ezdxf; returns exit status and
// output.
struct ScriptResult {
    int status = -1;
    std::string output;
};

inline ScriptResult runScript(const std::string& script, const std::string& args, const TempDir& dir) {
    const std::string log = dir.file("script.log");
    const std::string cmd = std::string(BRINMO_PYTHON) + " " + std::string(BRINMO_TEST_DATA) + "/dxf/" + script +
                            " " + args + " > " + log + " 2> " + log + ".err";
    ScriptResult r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.output = slurp(log);
    return r;
}

}  // namespace dxftest
