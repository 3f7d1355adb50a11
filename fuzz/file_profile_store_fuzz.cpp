// Loads a settings file made of arbitrary bytes, writes arbitrary values into
// it, saves it and loads it again: every entry of every group has the same
// value after the reload, the written values come back byte for byte, and
// saving the reloaded store writes the same file again.
//
// Input: the number of writes (0-3), per write a key byte and a value (a
// length byte and that many bytes), then the file's bytes.

#include "settings/byte_conv.h"
#include "settings/file_profile_store.h"

#include <wx/confbase.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Entries = std::map<std::string, std::string>;

// Every entry of the group at path and of the groups below it, by full path.
void Collect(wxConfigBase& config, const wxString& path, Entries& entries) {
    config.SetPath(path);
    wxString name;
    long index = 0;
    for (bool more = config.GetFirstEntry(name, index); more; more = config.GetNextEntry(name, index))
        entries[CByteConv::FromText(path + "/" + name)] = CByteConv::FromText(config.Read(name, ""));
    std::vector<wxString> groups;
    for (bool more = config.GetFirstGroup(name, index); more; more = config.GetNextGroup(name, index))
        groups.push_back(name);
    for (const wxString& group : groups) Collect(config, path + "/" + group, entries);
    config.SetPath("/");
}

Entries AllEntries(CFileProfileStore& store) {
    Entries entries;
    Collect(store.Config(), "", entries);
    return entries;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

const std::string& Path() {
    static const std::string path = [] {
        std::string folder = (std::filesystem::temp_directory_path() / "settings-fuzz.XXXXXX").string();
        Check(mkdtemp(folder.data()) != nullptr, "no temporary folder");
        return folder + "/p.conf";
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto next = [&input] {
        const unsigned byte = input.empty() ? 0 : static_cast<unsigned char>(input[0]);
        input.remove_prefix(input.empty() ? 0 : 1);
        return byte;
    };
    static const char* const kKeys[] = {"SpoolFile", "FontName", "SingleLineComment", "MultilineCommentEnd"};
    std::vector<std::pair<std::string, std::string>> writes(next() % 4);
    Entries written;  // the last value per key
    for (auto& [key, value] : writes) {
        key = kKeys[next() % std::size(kKeys)];
        value = input.substr(0, next());
        input.remove_prefix(value.size());
        written[key] = value;
    }
    std::ofstream(Path(), std::ios::binary | std::ios::trunc) << input;

    const auto checkWritten = [&written](CFileProfileStore& store) {
        for (const auto& [key, value] : written)
            Check(store.GetProfileString("Settings", key, "") == value, "a written value reads differently");
    };
    Entries before;
    std::string saved;
    {
        CFileProfileStore store(Path());
        for (const auto& [key, value] : writes) store.WriteProfileString("Settings", key, value);
        checkWritten(store);
        before = AllEntries(store);
        Check(store.Flush(), "the store was not written");
        saved = ReadFile(Path());
    }
    CFileProfileStore store(Path());
    checkWritten(store);
    Check(AllEntries(store) == before, "the reloaded store holds other values");
    Check(store.Flush() && ReadFile(Path()) == saved, "saving the reloaded store wrote another file");
    return 0;
}
