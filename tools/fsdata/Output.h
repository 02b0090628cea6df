// Standard output with every write checked: the first failure is kept, later
// writes are dropped, and the caller stops and reports it.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace fsdata {

class Output {
public:
    explicit Output(FILE* file) : file_(file) {}

    // False once any write has failed.
    bool Write(std::string_view text);
    bool Flush();
    bool failed() const { return error_ != 0; }
    // The system's words for the failure ("No space left on device").
    std::string error() const;

private:
    FILE* file_;
    int error_ = 0;
};

}  // namespace fsdata
