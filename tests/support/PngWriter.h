// A minimal PNG writer for screenshots (uncompressed deflate blocks: large files, no library).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace uitest {

// Writes width x height pixels given as top-down rows of 32-bit BGRA (as GetDIBits gives them)
// as an RGB PNG; false when the file could not be written.
bool WritePngBgra(const std::wstring& path, int width, int height, const std::vector<BYTE>& bgra);

}  // namespace uitest
