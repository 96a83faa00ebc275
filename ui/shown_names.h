#pragma once

#include <QString>

#include <string>

// The words the model and the file reader give in English (names of masks, inheritance
// codes, styles, levels and entry types; the reader's messages), as the window shows them:
// in the user's language where a translation exists.
QString ShownName(const char* name); // nullptr: an empty text
std::string ShownNameText(const char* name);
std::string ShownReaderMessage(const std::string& message);
