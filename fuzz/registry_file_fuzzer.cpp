// The .reg reader on arbitrary bytes: it must not crash, read out of bounds
// or hang, and what it returns must be consistent enough to look up.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "formats/RegistryFile.h"
#include "platform/TextEncoding.h"

namespace {

using formats::RegistryFile;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const RegistryFile file = formats::ParseRegistryFile(data, size);
    const std::vector<RegistryFile::Key>& keys = file.Keys();
    const std::vector<RegistryFile::Value>& values = file.Values();

    for (size_t i = 0; i < keys.size(); ++i) {
        const RegistryFile::Key& key = keys[i];
        if (i > 0) {
            const RegistryFile::Key& before = keys[i - 1];
            Check(before.root != key.root || file.Path(before) < file.Path(key));
        }
        const RegistryFile::Key* found = nullptr;
        Check(file.FindKey(key.root, file.Path(key), found));
        Check(key.firstValue <= values.size() && key.valueCount <= values.size() - key.firstValue);
        for (uint32_t v = key.firstValue; v < key.firstValue + key.valueCount; ++v) {
            const RegistryFile::Value& value = values[v];
            Check(file.FindValue(key, file.Name(value)) == &value);
            // Touch every byte, so that data outside the table shows.
            const uint8_t* bytes = file.Data(value);
            std::vector<uint8_t> copy(bytes, bytes + value.dataLength);
            Check(copy.size() == value.dataLength);
        }
    }

    // Lookups of names taken from the input itself.
    const std::u16string text = platform::Utf8ToUtf16(
        std::string_view(reinterpret_cast<const char*>(data), std::min<size_t>(size, 256)));
    for (platform::RegistryRoot root :
         {platform::RegistryRoot::LocalMachine, platform::RegistryRoot::ClassesRoot}) {
        const RegistryFile::Key* key = nullptr;
        for (size_t cut = 0; cut <= text.size(); cut += 16) {
            if (file.FindKey(root, std::u16string_view(text).substr(0, cut), key) && key) {
                file.FindValue(*key, text);
                file.FindValue(*key, u"");
            }
        }
    }
    return 0;
}
