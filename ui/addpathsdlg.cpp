#include "ui/addpathsdlg.h"

#include "model/checks.h"
#include "resources/templates/addpathsdlg.h"
#include "ui/toolkit/modal_host.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {

namespace ids = res::AddPathsDlg;

const tk::Handler<AddPathsDlg> kHandlers[] = {
    {ids::IDC_PATHS, tk::Notify::Changed, &AddPathsDlg::OnPathsChange},
    {ids::IDC_FILE_DIRECTORY, tk::Notify::Clicked, &AddPathsDlg::OnFileDirectory},
    {ids::IDC_STORAGE, tk::Notify::Clicked, &AddPathsDlg::OnStorage},
};

} // namespace

AddPathsDlg::AddPathsDlg(const permora::SecurityTemplate& tmpl,
                         const permora::SecurityDescriptor* copied, const tk::Window* parent)
    : tk::Dialog(ids::Template(), parent), template_(tmpl), copied_(copied) {
    Bind(this, kHandlers);
}

AddPathsDlg::~AddPathsDlg() = default;

void AddPathsDlg::OnInitDialog() {
    level_ = permora::kLevelFileDirectory;
    CheckRadio(ids::IDC_FILE_DIRECTORY, ids::IDC_STORAGE, ids::IDC_FILE_DIRECTORY);
    // The copied security is the natural choice when there is one.
    SetCheck(ids::IDC_USE_COPIED, copied_ != nullptr ? 1 : 0);
    Enable(ids::IDC_USE_COPIED, copied_ != nullptr);
    tk::ListView problems = GetListView(ids::IDC_PROBLEM_LIST);
    if (problems.ColumnCount() == 0) {
        const std::string line = tr("Line").toStdString();
        const int lineWidth =
            problems.TextWidth(line + " 0000000") + tk::SystemMetric(tk::Metric::CxHThumb);
        problems.InsertColumn(0, line, lineWidth);
        problems.InsertColumn(1, tr("Text").toStdString(), problems.ClientWidth() - lineWidth);
    }
    problems.DeleteAll();
    SetFocus(ids::IDC_PATHS);
}

void AddPathsDlg::OnPathsChange() {
    Enable(tk::IDOK, !permora::TrimBlanks(Text(ids::IDC_PATHS)).empty());
    // The problems found were of the text as it was: their line numbers may be wrong now.
    if (!result_.invalid.empty()) {
        result_ = {};
        ShowProblems();
    }
}

QString AddPathsDlg::PathFaultText(const std::string& path) {
    const permora::PathFault fault = permora::FindPathFault(path);
    switch (fault.kind) {
    case permora::PathFault::Kind::None:
        break;
    case permora::PathFault::Kind::Empty:
        return tr("no path");
    case permora::PathFault::Kind::TwoSlashes:
        return tr("two slashes in a row");
    case permora::PathFault::Kind::OutsideVol:
        return tr("a path from the root begins with /vol/");
    case permora::PathFault::Kind::Character: {
        const auto byte = static_cast<unsigned char>(fault.character);
        if (fault.character == ' ')
            return tr("a blank is not allowed");
        if (byte < 0x20 || byte >= 0x7F)
            return tr("the byte 0x%1 is not allowed").arg(byte, 2, 16, QLatin1Char('0'));
        return tr("%1 is not allowed").arg(QLatin1Char(fault.character));
    }
    }
    return {};
}

void AddPathsDlg::OnFileDirectory() {
    level_ = permora::kLevelFileDirectory;
}

void AddPathsDlg::OnStorage() {
    level_ = permora::kLevelStorage;
}

void AddPathsDlg::ShowProblems() {
    tk::ListView problems = GetListView(ids::IDC_PROBLEM_LIST);
    std::vector<std::vector<std::string>> rows;
    rows.reserve(result_.invalid.size());
    bool accounts = false;
    for (const permora::InvalidPathLine& line : result_.invalid) {
        std::string text = line.text;
        if (line.noAccount) {
            text += " (" + tr("no account").toStdString() + ")";
        } else if (line.account) {
            text += " (" + tr("Invalid Account Name").toStdString() + ")";
        } else if (const QString why = PathFaultText(line.text); !why.isEmpty()) {
            text += " (" + why.toStdString() + ")";
        }
        accounts = accounts || line.noAccount || line.account;
        rows.push_back({std::to_string(line.line), std::move(text)});
    }
    problems.SetRows(std::move(rows));
    const std::size_t count = result_.invalid.size();
    const int n = static_cast<int>(std::min<std::size_t>(count, INT_MAX));
    const QString label =
        count == 0 ? tr("Lines that are not valid paths:")
        : accounts
            ? (count == 1 ? tr("1 line is not a valid path with a valid account; fix or remove "
                               "it before adding:")
                          : tr("%n lines are not valid paths with valid accounts; fix or remove "
                               "them before adding:",
                               nullptr, n))
        : count == 1
            ? tr("1 line is not a valid path; fix or remove it before adding:")
            : tr("%n lines are not valid paths; fix or remove them before adding:", nullptr, n);
    SetText(ids::IDC_PROBLEM_LABEL, label.toStdString());
}

void AddPathsDlg::OnOK() {
    const std::string text = Text(ids::IDC_PATHS);
    if (permora::TrimBlanks(text).empty())
        return;
    useCopied_ = copied_ != nullptr && Check(ids::IDC_USE_COPIED) != 0;
    standIn_ = permora::TrimBlanks(Text(ids::IDC_STAND_IN));
    if (!standIn_.empty() && !permora::HoldsStandIn(useCopied_ ? copied_ : nullptr, standIn_)) {
        tk::MessageBox(this,
                       tr("The security the new targets get has no entry of %1.")
                           .arg(QString::fromStdString(standIn_))
                           .toStdString(),
                       tr("Error").toStdString());
        SetFocus(ids::IDC_STAND_IN);
        return;
    }
    result_ = permora::ReadPathList(text, &template_);
    const std::string pattern = permora::TrimBlanks(Text(ids::IDC_ACCOUNT_PATTERN));
    if (!standIn_.empty()) {
        permora::RequireAccounts(result_, pattern);
    } else if (permora::HasAccounts(result_) || !pattern.empty()) {
        // Accounts with nothing to replace would be dropped without a word.
        tk::MessageBox(
            this, tr("Give the stand-in account that the lines' accounts replace.").toStdString(),
            tr("Error").toStdString());
        SetFocus(ids::IDC_STAND_IN);
        return;
    }
    ShowProblems();
    if (!result_.invalid.empty()) {
        SetFocus(ids::IDC_PATHS);
        return;
    }
    EndDialog(tk::IDOK);
}
