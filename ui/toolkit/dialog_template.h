#pragma once

#include <QtGlobal>

#include <vector>

namespace tk {

// The texts of templates (captions and control texts) are English and shown through the
// application's translators in this context; templates mark them for lupdate with
// QT_TRANSLATE_NOOP("Dialog", "...").
inline constexpr const char* kTextContext = "Dialog";

// Id of controls that nothing addresses (labels, group boxes, icons).
inline constexpr int IDC_STATIC = -1;

enum class Kind {
    Label,         // static text, left-aligned
    LabelCentered, // static text, centred
    GroupBox,      // frame with an optional title
    Icon,          // the application icon
    PushButton,
    CheckBox,    // automatic: toggles itself before its handler runs
    RadioButton, // automatic; a radio range is checked with Window::CheckRadio
    Edit,        // one line
    ListBox,     // sorted (letters without regard to case), single selection
    ComboBox,    // drop-down list, unsorted
    ListView,    // report view
    // A rectangle for a widget of the window's own, laid out with Qt layouts (see
    // Window::HostWidget).
    Host,
};

// Initial state and style bits of a control.
namespace state {
inline constexpr unsigned kNone = 0;
inline constexpr unsigned kDisabled = 1u << 0;
inline constexpr unsigned kHidden = 1u << 1;
inline constexpr unsigned kChecked = 1u << 2;
inline constexpr unsigned kDefault = 1u << 3;       // default push button
inline constexpr unsigned kMultiline = 1u << 4;     // check box or label text wraps
inline constexpr unsigned kSingleSel = 1u << 5;     // list view: one row at a time
inline constexpr unsigned kShowSelAlways = 1u << 6; // list view: selection shown without focus
// Radio button: starts a new group of mutually exclusive buttons. A radio button that
// follows any other kind of control starts one anyway.
inline constexpr unsigned kGroup = 1u << 7;
} // namespace state

struct ControlTemplate {
    int id;
    Kind kind;
    const char* text; // "&" marks the access key
    int x, y, cx, cy; // dialog units
    unsigned flags = state::kNone;
};

struct DialogTemplate {
    int id;
    const char* caption;
    int cx, cy; // dialog units
    const char* font;
    int pointSize;
    std::vector<ControlTemplate> controls;
};

} // namespace tk
