#pragma once

#include <string>
#include <string_view>

// The file dialogs' default extension: GTK's save dialog adds none, so the
// program adds it to a typed name that has no extension of its own.
namespace default_extension {

// Whether the last component of path has an extension: a dot after its first
// character (".profile" has none, "result." and "a.b.c" have one).
bool HasExtension(std::string_view path);

// path with "." and extension added when it has no extension; otherwise path.
std::string Add(std::string_view path, std::string_view extension);

}  // namespace default_extension
