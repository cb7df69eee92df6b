// Registry keys taken as themselves, never through a link. A key can be a link to another key
// anywhere in the registry (its SymbolicLinkValue names the target), and opening it the ordinary
// way opens the target instead. These open the last key of a path with REG_OPTION_OPEN_LINK,
// so that a link is only ever the link.
#pragma once

#include <windows.h>

// Whether the key at path below parent is a link.
bool IsRegKeyLink(HKEY parent, LPCWSTR path);

// Opens the key at path below parent as itself, with access (KEY_QUERY_VALUE is added, to tell a
// link). A key that is a link is not handed out: the result is then ERROR_SUCCESS with isLink
// set and no key. Otherwise the open's own result; a key that is not there gives
// ERROR_FILE_NOT_FOUND, and nothing is ever created.
LONG OpenRegKeyUnlinked(HKEY parent, LPCWSTR path, REGSAM access, HKEY* phKey, bool& isLink);

// Deletes the key at path below parent with everything under it. A link, at the top or at any
// depth, is deleted as the link: the key it points to and what lies under that stay. A key that
// is not there is no error. True when the key is gone.
bool DeleteRegKeyTree(HKEY parent, LPCWSTR path);
