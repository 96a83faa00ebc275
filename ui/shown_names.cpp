#include "ui/shown_names.h"

#include <QCoreApplication>

namespace {

constexpr const char* kNamesContext = "Names";
constexpr const char* kReaderContext = "Reader";

// What the model names, listed here so that lupdate offers every word for translation.
[[maybe_unused]] constexpr const char* kNames[] = {
    QT_TRANSLATE_NOOP("Names", "??No Permission??"),
    QT_TRANSLATE_NOOP("Names", "List folder/Read data"),
    QT_TRANSLATE_NOOP("Names", "Create files/Write data"),
    QT_TRANSLATE_NOOP("Names", "Create folders/Append data"),
    QT_TRANSLATE_NOOP("Names", "Read extended attributes"),
    QT_TRANSLATE_NOOP("Names", "Write extended attributes"),
    QT_TRANSLATE_NOOP("Names", "Traverse Folder/Execute File"),
    QT_TRANSLATE_NOOP("Names", "Delete subfolders and files"),
    QT_TRANSLATE_NOOP("Names", "Read attributes"),
    QT_TRANSLATE_NOOP("Names", "Write attributes"),
    QT_TRANSLATE_NOOP("Names", "Delete"),
    QT_TRANSLATE_NOOP("Names", "Read permissions"),
    QT_TRANSLATE_NOOP("Names", "Change permissions"),
    QT_TRANSLATE_NOOP("Names", "Take Ownership"),
    QT_TRANSLATE_NOOP("Names", "Write"),
    QT_TRANSLATE_NOOP("Names", "Read"),
    QT_TRANSLATE_NOOP("Names", "Read and Execute"),
    QT_TRANSLATE_NOOP("Names", "Read, Write & Execute"),
    QT_TRANSLATE_NOOP("Names", "Modify"),
    QT_TRANSLATE_NOOP("Names", "Full Control"),
    QT_TRANSLATE_NOOP("Names", "Special"),
    QT_TRANSLATE_NOOP("Names", "This folder and files"),
    QT_TRANSLATE_NOOP("Names", "This folder and subfolders"),
    QT_TRANSLATE_NOOP("Names", "This folder, subfolders and files"),
    QT_TRANSLATE_NOOP("Names", "This folder only"),
    QT_TRANSLATE_NOOP("Names", "Files only"),
    QT_TRANSLATE_NOOP("Names", "Subfolders only"),
    QT_TRANSLATE_NOOP("Names", "Subfolders and files only"),
    QT_TRANSLATE_NOOP("Names", "NTFS"),
    QT_TRANSLATE_NOOP("Names", "NFSV3 ACL"),
    QT_TRANSLATE_NOOP("Names", "NFSV4 ACL"),
    QT_TRANSLATE_NOOP("Names", "File/Directory"),
    QT_TRANSLATE_NOOP("Names", "Storage"),
    QT_TRANSLATE_NOOP("Names", "Allow"),
    QT_TRANSLATE_NOOP("Names", "Deny"),
    QT_TRANSLATE_NOOP("Names", "Success"),
    QT_TRANSLATE_NOOP("Names", "Fail"),
    QT_TRANSLATE_NOOP("Names", "All"),
    QT_TRANSLATE_NOOP("Names", "None"),
    QT_TRANSLATE_NOOP("Names", "This folder"),
    QT_TRANSLATE_NOOP("Names", "Subfolders"),
    QT_TRANSLATE_NOOP("Names", "Files"),
};

// The messages an import shows in its "Error" boxes: the reader's list (kReaderMessages),
// spelled out here so that lupdate offers each for translation.
[[maybe_unused]] constexpr const char* kReaderTexts[] = {
    QT_TRANSLATE_NOOP("Reader", "   Invalid File"),
    QT_TRANSLATE_NOOP("Reader", "Invalid File Path"),
    QT_TRANSLATE_NOOP("Reader", "Wrong ace type."),
    QT_TRANSLATE_NOOP("Reader", "Cannot parse this Mask."),
    QT_TRANSLATE_NOOP("Reader", "Invalid Account Name"),
    QT_TRANSLATE_NOOP("Reader", "Too many entries."),
    QT_TRANSLATE_NOOP("Reader", "Cannot parse the flags of this list."),
    QT_TRANSLATE_NOOP("Reader", "This descriptor holds neither S: nor D:."),
};

} // namespace

QString ShownName(const char* name) {
    if (name == nullptr || *name == '\0')
        return {};
    return QCoreApplication::translate(kNamesContext, name);
}

std::string ShownNameText(const char* name) {
    return ShownName(name).toStdString();
}

std::string ShownReaderMessage(const std::string& message) {
    return QCoreApplication::translate(kReaderContext, message.c_str()).toStdString();
}
