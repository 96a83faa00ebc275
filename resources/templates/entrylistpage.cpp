#include "resources/templates/entrylistpage.h"

namespace res::EntryListPage {

tk::DialogTemplate MakeTemplate(const Texts& texts) {
    using tk::Kind;
    namespace st = tk::state;
    // 384 x 200 units: the hint on top, the entry list across the page, the three
    // buttons under its left edge and the inheritance box at the bottom.
    return tk::DialogTemplate{
        texts.idd,
        texts.caption,
        384,
        200,
        "MS Shell Dlg",
        8,
        {
            {IDC_HINT, Kind::Label, texts.hint, 7, 7, 370, 16, st::kMultiline},
            {tk::IDC_STATIC, Kind::Label, texts.entriesLabel, 7, 28, 150, 8},
            {IDC_ENTRY_LIST, Kind::ListView, "", 7, 38, 370, 112,
             st::kSingleSel | st::kShowSelAlways},
            {IDC_ADD, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "A&dd..."), 7, 155, 58, 14},
            {IDC_EDIT, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Edit..."), 69, 155, 58, 14},
            {IDC_REMOVE, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Remove"), 131, 155, 58,
             14},
            {IDC_INHERIT, Kind::CheckBox, texts.inherit, 7, 175, 370, 20, st::kMultiline},
        },
    };
}

} // namespace res::EntryListPage
