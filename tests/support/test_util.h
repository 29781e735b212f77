// Helpers shared by the tests: temporary folders, files, running the built programs.
#pragma once

#include <string>
#include <vector>

// A fresh empty folder, removed with everything in it when the object goes.
struct TempDir {
    std::string path;
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return path + "/" + name; }
};

void writeFile(const std::string& path, const std::string& content);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

std::string builtProgram(const std::string& name);

struct CommandResult {
    int status = -1;  // -1 when it did not exit normally
    std::string out, err;
};
CommandResult runCommand(const std::string& commandLine, const std::string& workDir = ".");

// The generated data tree of the ctest run, or one made for this process.
const std::string& generatedTree();
