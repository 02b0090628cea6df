#include "tools/fsdata/Output.h"

#include <cerrno>
#include <cstring>

namespace fsdata {

bool Output::Write(std::string_view text) {
    if (error_ != 0)
        return false;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::ferror(file_))
        error_ = errno != 0 ? errno : EIO;
    return error_ == 0;
}

bool Output::Flush() {
    if (error_ != 0)
        return false;
    errno = 0;
    if (std::fflush(file_) != 0 || std::ferror(file_))
        error_ = errno != 0 ? errno : EIO;
    return error_ == 0;
}

std::string Output::error() const {
    return std::strerror(error_);
}

}  // namespace fsdata
