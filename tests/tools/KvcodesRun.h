#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kv::tools::testing {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the built kvcodes in a scratch folder of its own, so that tests can
// hand it files and read back what it wrote.
class KvcodesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("kvcodes-") + SafeName(info->test_suite_name()) + "-" +
                SafeName(info->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    // Parameterised test names hold '/'.
    static std::string SafeName(std::string name) {
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        return name;
    }

    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    std::string Write(const std::string& name, const std::string& text) const {
        std::ofstream(PathOf(name), std::ios::binary) << text;
        return PathOf(name);
    }

    static std::string ReadFile(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    // `arguments` is shell text after the program name; `input` goes to stdin.
    RunResult Run(const std::string& arguments, const std::string& input = "") const {
        const std::string in = Write("stdin.txt", input);
        const std::string command = "cd '" + dir_.string() + "' && '" KVCODES_PATH "' " +
                                    arguments + " < '" + in + "' > '" + PathOf("stdout.txt") +
                                    "' 2> '" + PathOf("stderr.txt") + "'";
        const int status = std::system(command.c_str());
        RunResult result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = ReadFile(PathOf("stdout.txt"));
        result.err = ReadFile(PathOf("stderr.txt"));
        return result;
    }

  private:
    std::filesystem::path dir_;
};

}  // namespace kv::tools::testing
