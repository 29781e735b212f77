#include "tests/support/test_util.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "velbrant-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

void writeFile(const std::string& path, const std::string& content)
{
    std::filesystem::path p(path);
    if (p.has_parent_path())
        std::filesystem::create_directories(p.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }
std::string builtProgram(const std::string& name) { return std::string(VELBRANT_BIN_DIR) + "/" + name; }

CommandResult runCommand(const std::string& commandLine, const std::string& workDir)
{
    TempDir capture;
    const std::string outPath = capture.file("out"), errPath = capture.file("err");
    const std::string full =
        "cd '" + workDir + "' && ( " + commandLine + " ) >'" + outPath + "' 2>'" + errPath + "'";
    const int raw = std::system(full.c_str());
    return {raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(outPath), readFile(errPath)};
}

const std::string& generatedTree()
{
    static std::string path = std::string(VELBRANT_BIN_DIR) + "/test-tree";
    if (!fileExists(path + "/Opcje.ini")) {
        static TempDir dir;
        const CommandResult r = runCommand("'" + builtProgram("velbrant-data") + "' '" + dir.path + "'");
        if (r.status != 0)
            throw std::runtime_error("velbrant-data failed: " + r.err);
        path = dir.path;
    }
    return path;
}
