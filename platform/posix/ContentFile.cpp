#include "platform/ContentFile.h"

#include "platform/TextEncoding.h"
#include "platform/posix/FileSource.h"

namespace platform {

ContentFile::ContentFile(std::u16string_view path) : path_(path) {
    auto source = std::make_shared<FileSource>(Utf16ToUtf8(path));
    if (!source->isOpen())
        return;
    // Most files are neither kind: a few bytes tell, without a page's copy.
    headBytes_ = source->ReadUncached(0, head_, sizeof head_);
    native_ = std::make_unique<Native>();
    native_->source = std::move(source);
}

ContentFile::~ContentFile() = default;

}  // namespace platform
