#include "ui/securityproppage.h"

#include "model/checks.h"
#include "resources/templates/securityproppage.h"
#include "ui/auditingproppage.h"
#include "ui/effectiveaccesspage.h"
#include "ui/inputntaccountdlg.h"
#include "ui/permissionproppage.h"
#include "ui/toolkit/modal_host.h"

#include <algorithm>
#include <array>
#include <set>
#include <utility>

namespace {

namespace ids = res::SecurityPropPage;
namespace boxes = permora::boxes;

// The text of a message of the box rules, in the page's own words.
const char* MessageText(boxes::BoxMessage message) {
    switch (message) {
    case boxes::BoxMessage::NoMask:
        return QT_TRANSLATE_NOOP("SecurityPropPage",
                                 "Current ace does not have any Masks. It should be deleted.");
    case boxes::BoxMessage::UnexpectedFlags:
        return QT_TRANSLATE_NOOP(
            "SecurityPropPage",
            "Current aceflags is NOT CIOI. You must miss some flag combination.");
    case boxes::BoxMessage::NotOnlyFullControl:
        return QT_TRANSLATE_NOOP("SecurityPropPage",
                                 "There are more other aces other than FullControl?");
    case boxes::BoxMessage::CannotFind:
        return QT_TRANSLATE_NOOP("SecurityPropPage", "Cannot find the ACE to be modified.");
    case boxes::BoxMessage::CannotFindModifyDeny:
        return QT_TRANSLATE_NOOP("SecurityPropPage", "Cannot find the ACE to be modified");
    }
    return "";
}

// The boxes of the seven rows, top to bottom, by column.
constexpr std::array<int, boxes::kRowCount> kAllowBoxes = {
    ids::IDC_FULL_CONTROL_ALLOW, ids::IDC_MODIFY_ALLOW, ids::IDC_READ_EXECUTE_ALLOW,
    ids::IDC_LIST_FOLDER_ALLOW,  ids::IDC_READ_ALLOW,   ids::IDC_WRITE_ALLOW,
    ids::IDC_SPECIAL_ALLOW,
};
constexpr std::array<int, boxes::kRowCount> kDenyBoxes = {
    ids::IDC_FULL_CONTROL_DENY, ids::IDC_MODIFY_DENY, ids::IDC_READ_EXECUTE_DENY,
    ids::IDC_LIST_FOLDER_DENY,  ids::IDC_READ_DENY,   ids::IDC_WRITE_DENY,
    ids::IDC_SPECIAL_DENY,
};

int BoxId(int row, std::uint8_t type) {
    const auto& column = type == permora::kAllowType ? kAllowBoxes : kDenyBoxes;
    return column[static_cast<std::size_t>(row)];
}

const tk::Handler<SecurityPropPage> kHandlers[] = {
    {ids::IDC_ADD, tk::Notify::Clicked, &SecurityPropPage::OnAdd},
    {ids::IDC_REMOVE, tk::Notify::Clicked, &SecurityPropPage::OnRemove},
    {ids::IDC_ADVANCED, tk::Notify::Clicked, &SecurityPropPage::OnAdvanced},
    {ids::IDC_ACCOUNT_LIST, tk::Notify::SelChange, &SecurityPropPage::OnAccountSelChange},
};

} // namespace

SecurityPropPage::SecurityPropPage(std::unique_ptr<permora::TargetObject> target)
    : tk::PropertyPage(ids::Template()), owned_(std::move(target)), target_(owned_.get()) {
    BindHandlers();
}

SecurityPropPage::SecurityPropPage(permora::TargetObject& target)
    : tk::PropertyPage(ids::Template()), target_(&target) {
    BindHandlers();
}

void SecurityPropPage::BindHandlers() {
    Bind(this, kHandlers);
    // The twelve standard boxes; the Special Permissions row is only shown.
    for (int row = 0; row < boxes::kStandardRowCount; ++row) {
        for (const std::uint8_t type : {permora::kAllowType, permora::kDenyType}) {
            Bind(this, BoxId(row, type), tk::Notify::Clicked,
                 [this, row, type] { OnStandardBox(static_cast<boxes::Row>(row), type); });
        }
    }
}

SecurityPropPage::~SecurityPropPage() = default;

std::unique_ptr<permora::TargetObject> SecurityPropPage::ReleaseTarget() {
    target_ = nullptr;
    return std::move(owned_);
}

permora::SecurityDescriptor* SecurityPropPage::Descriptor() const {
    return target_ != nullptr ? target_->Descriptor.get() : nullptr;
}

void SecurityPropPage::OnSetActive() {
    FillAccountList();
    tk::PropertyPage::OnSetActive();
}

void SecurityPropPage::SetCurrentAccount(std::string account) {
    currentNTAccount_ = std::move(account);
    SetText(ids::IDC_CURRENT_ACCOUNT, currentNTAccount_);
}

void SecurityPropPage::FillAccountList() {
    tk::ListBox list = GetListBox(ids::IDC_ACCOUNT_LIST);
    list.Clear();
    const permora::SecurityDescriptor* descriptor = Descriptor();
    if (descriptor == nullptr) {
        return;
    }
    const permora::Acl& dacl = descriptor->DaclList;
    if ((descriptor->Control & permora::SE_DACL_PRESENT) == 0 ||
        (dacl.Allow.Count == 0 && dacl.Deny.Count == 0)) {
        SetCurrentAccount({});
    } else {
        // Every account is listed once, whole names compared without regard to case: a
        // name that begins another one ("Admin" beside "Administrators") is listed too.
        std::set<std::string> listed;
        for (const permora::AceList* entries : {&dacl.Deny, &dacl.Allow}) {
            const permora::Ace* previous = nullptr;
            for (const permora::Ace* entry = entries->Head; entry != nullptr; entry = entry->Next) {
                // An account's entries are consecutive: look each run up once.
                if (previous != nullptr &&
                    permora::EqualsNoCase(previous->NTAccount, entry->NTAccount)) {
                    continue;
                }
                previous = entry;
                if (listed.insert(permora::FoldCase(entry->NTAccount)).second) {
                    list.Add(entry->NTAccount);
                }
            }
        }
        list.Select(0);
        if (std::string first = list.Text(0); !first.empty()) {
            SetCurrentAccount(std::move(first));
        }
        // An account is selected again (the advanced sheet may have given an empty list
        // its accounts back): it can be edited and removed.
        Enable(ids::IDC_REMOVE, true);
    }
    ShowAccountPermissions(currentNTAccount_);
}

void SecurityPropPage::ShowAccountPermissions(const std::string& account) {
    if (account.empty()) {
        SetBoxes({});
        EnableStandardBoxes(false);
        return;
    }
    // Whenever an account is shown, its boxes can be clicked, also after an empty list
    // disabled them.
    EnableStandardBoxes(true);
    boxes::Messages messages;
    boxes::BoxStates shown;
    if (const permora::SecurityDescriptor* descriptor = Descriptor()) {
        shown = boxes::DeriveBoxStates(descriptor->DaclList, account, messages);
    }
    // The boxes change once, whatever the number of entries; the messages follow in the
    // order of the entries that gave them.
    SetBoxes(shown);
    ShowMessages(messages);
}

void SecurityPropPage::EnableStandardBoxes(bool enable) {
    for (int row = 0; row < boxes::kStandardRowCount; ++row) {
        Enable(kAllowBoxes[static_cast<std::size_t>(row)], enable);
        Enable(kDenyBoxes[static_cast<std::size_t>(row)], enable);
    }
    Enable(ids::IDC_SPECIAL_LABEL, enable);
}

boxes::BoxStates SecurityPropPage::ShownBoxes() const {
    boxes::BoxStates shown;
    for (std::size_t row = 0; row < kAllowBoxes.size(); ++row) {
        shown.allow[row] = Check(kAllowBoxes[row]) != 0;
        shown.deny[row] = Check(kDenyBoxes[row]) != 0;
    }
    return shown;
}

void SecurityPropPage::SetBoxes(const boxes::BoxStates& shown) {
    for (std::size_t row = 0; row < kAllowBoxes.size(); ++row) {
        SetCheck(kAllowBoxes[row], shown.allow[row] ? 1 : 0);
    }
    for (std::size_t row = 0; row < kDenyBoxes.size(); ++row) {
        SetCheck(kDenyBoxes[row], shown.deny[row] ? 1 : 0);
    }
}

void SecurityPropPage::ShowMessages(const boxes::Messages& messages) {
    for (const boxes::BoxMessage message : messages) {
        tk::MessageBox(this, tr(MessageText(message)).toStdString(), tr("Error").toStdString());
    }
}

void SecurityPropPage::OnAdd() {
    InputNTAccountDlg dialog(this);
    if (dialog.DoModal() != tk::IDOK) {
        return;
    }
    EnableStandardBoxes(true);
    const std::string name = dialog.NTAccount;
    tk::ListBox list = GetListBox(ids::IDC_ACCOUNT_LIST);
    if (name.empty() || list.FindExact(name) != tk::LB_ERR) {
        return; // already listed
    }
    permora::SecurityDescriptor* descriptor = Descriptor();
    if (descriptor == nullptr) {
        return;
    }
    currentNTAccount_ = name;
    auto entry = std::make_unique<permora::Ace>(name, permora::kAllowType);
    if (descriptor->DaclList.Add(entry)) {
        // Listed at the next activation and written to the file from now on.
        descriptor->Control |= permora::SE_DACL_PRESENT;
    }
    list.Select(list.Add(name));
    SetText(ids::IDC_CURRENT_ACCOUNT, name);
    Enable(ids::IDC_REMOVE, true);
    // The list may have merged the new entry into one the account already had (its
    // permission list can hold entries while it is marked absent), so the boxes come
    // from the account's entries rather than from the new one.
    ShowAccountPermissions(name);
}

void SecurityPropPage::OnRemove() {
    if (permora::SecurityDescriptor* descriptor = Descriptor()) {
        descriptor->DaclList.RemoveAccount(currentNTAccount_);
    }
    currentNTAccount_.clear();
    tk::ListBox list = GetListBox(ids::IDC_ACCOUNT_LIST);
    const int removed = list.Selection();
    if (removed != tk::LB_ERR) {
        list.Delete(removed);
    }
    if (list.Count() == 0) {
        Enable(ids::IDC_REMOVE, false);
        SetText(ids::IDC_CURRENT_ACCOUNT, "");
    } else if (removed == tk::LB_ERR) {
        SetText(ids::IDC_CURRENT_ACCOUNT, "");
    } else {
        const int next = std::min(removed, list.Count() - 1);
        list.Select(next);
        SetCurrentAccount(list.Text(next));
    }
    ShowAccountPermissions(currentNTAccount_);
}

// Every entry of the target on the advanced sheet: permissions, auditing and the effective
// access they give. The pages change the descriptor at once; Cancel puts back the copy taken
// here.
void SecurityPropPage::OnAdvanced() {
    if (target_ == nullptr) {
        return;
    }
    PermissionPropPage permproppage(*target_);
    AuditingPropPage auditproppage(*target_);
    EffectiveAccessPage accessPage(*target_);
    tk::PropertySheet sheet(tr("Advanced Security Settings for %1")
                                .arg(QString::fromStdString(target_->Path))
                                .toStdString());
    sheet.AddPage(&permproppage);
    sheet.AddPage(&auditproppage);
    sheet.AddPage(&accessPage);
    std::unique_ptr<permora::SecurityDescriptor> snapshot =
        target_->Descriptor != nullptr ? target_->Descriptor->Clone() : nullptr;
    const int result = sheet.DoModal();
    if (result == tk::IDOK) {
        FillAccountList();
    } else if (result == tk::IDCANCEL) {
        target_->Descriptor = std::move(snapshot);
    }
}

void SecurityPropPage::OnAccountSelChange() {
    tk::ListBox list = GetListBox(ids::IDC_ACCOUNT_LIST);
    const int selected = list.Selection();
    std::string name = selected == tk::LB_ERR ? std::string() : list.Text(selected);
    if (permora::EqualsNoCase(name, currentNTAccount_)) {
        return;
    }
    SetCurrentAccount(std::move(name));
    ShowAccountPermissions(currentNTAccount_);
}

void SecurityPropPage::OnStandardBox(boxes::Row row, std::uint8_t type) {
    const int id = BoxId(row, type);
    permora::SecurityDescriptor* descriptor = Descriptor();
    if (descriptor == nullptr || currentNTAccount_.empty()) {
        // No account to change: the box goes back to what the lists say.
        ShowAccountPermissions(currentNTAccount_);
        return;
    }
    if (const auto error = boxes::ApplyStandardClick(descriptor->DaclList, currentNTAccount_, row,
                                                     type, Check(id) != 0)) {
        // Nothing changed: after the message every box shows the lists again, the clicked
        // one included.
        tk::MessageBox(this, tr(MessageText(*error)).toStdString(), tr("Error").toStdString());
    }
    ShowAccountPermissions(currentNTAccount_);
}
