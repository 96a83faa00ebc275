// The main window and the editor pages at the sizes administrators reach, on the offscreen
// platform: 100,000 targets in the main window (and 1,000,000 with --large), an account
// with 1,000 entries on the security page, 10,000 entries on the permission page.
#include "bench/bench_host.h"
#include "bench/fixtures.h"
#include "bench/generator.h"
#include "bench/table.h"
#include "resources/templates/addpathsdlg.h"
#include "ui/addpathsdlg.h"
#include "ui/effectiveaccesspage.h"
#include "ui/effectiveaccesspanel.h"
#include "ui/permissionproppage.h"
#include "ui/permoradlg.h"
#include "ui/securityproppage.h"
#include "ui/snapshot_keeper.h"

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace permora::bench {
namespace {

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "permora_bench";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) {
        if (std::getenv("QT_QPA_PLATFORM") == nullptr)
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // The windows' recovery snapshots go to a folder of the run, never the user's.
        setenv("XDG_STATE_HOME", RunFile("state").c_str(), 1);
        new QApplication(argc, argv); // lives for the whole run
    }
}

// A shown main window holding the large template, imported through its Import command.
struct LoadedWindow {
    explicit LoadedWindow(int targets) {
        EnsureApplication();
        host.path = UnicodeFile(targets);
        dlg = std::make_unique<PermoraDlg>();
        dlg->Start();
        dlg->ModalWidget()->show();
        dlg->Import();
        QApplication::processEvents();
    }
    ~LoadedWindow() { dlg->ModalWidget()->hide(); }
    BenchHost host;
    std::unique_ptr<PermoraDlg> dlg;
};

tk::ListView List(PermoraDlg& dlg) {
    return dlg.GetListView(1065);
}

void WindowImport(benchmark::State& state, int targets) {
    EnsureApplication();
    BenchHost host;
    host.path = UnicodeFile(targets);
    for (auto _ : state) {
        state.PauseTiming();
        auto dlg = std::make_unique<PermoraDlg>();
        dlg->Start();
        dlg->ModalWidget()->show();
        QApplication::processEvents();
        state.ResumeTiming();
        dlg->Import();
        QApplication::processEvents(); // the list is painted
        state.PauseTiming();
        if (dlg->Document().Template().Count != targets) {
            state.SkipWithError("import failed");
            break;
        }
        dlg->ModalWidget()->hide();
        dlg.reset();
        state.ResumeTiming();
    }
}

void Save(benchmark::State& state, int targets, bool unicode) {
    LoadedWindow window(targets);
    const std::string out = RunFile(unicode ? "saved-unicode.conf" : "saved-8bit.conf");
    window.dlg->Document().FileRead(out, std::nullopt);
    window.host.path = out;
    for (auto _ : state) {
        if (unicode)
            window.dlg->SaveUnicode();
        else
            window.dlg->SaveUtf8();
    }
    if (window.host.messages != state.iterations()) // one question per save, no error
        state.SkipWithError("save reported an error");
    std::filesystem::remove(out);
}
void SelectAllRemove(benchmark::State& state, int targets) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<LoadedWindow>(targets);
        state.ResumeTiming();
        List(*window->dlg).Widget()->selectAll();
        window->dlg->RemoveTargets();
        QApplication::processEvents();
        state.PauseTiming();
        const bool removed = window->dlg->Document().Template().Count == 0;
        window.reset(); // closing the window is not part of the Remove
        if (!removed) {
            state.SkipWithError("remove failed");
            break;
        }
        state.ResumeTiming();
    }
}

void Move(benchmark::State& state, int targets, bool up) {
    LoadedWindow window(targets);
    tk::ListView list = List(*window.dlg);
    const int row = up ? targets - 1 : targets - 2;
    for (auto _ : state) {
        state.PauseTiming();
        list.ClearSelection();
        list.Select(row);
        state.ResumeTiming();
        if (up)
            window.dlg->MoveTargetUp();
        else
            window.dlg->MoveTargetDown();
        QApplication::processEvents();
    }
}
// Remove with one row selected in the middle of the list.
void RemoveOne(benchmark::State& state, int targets) {
    LoadedWindow window(targets);
    tk::ListView list = List(*window.dlg);
    for (auto _ : state) {
        state.PauseTiming();
        const int row = window.dlg->Document().Template().Count / 2;
        list.ClearSelection();
        list.Select(row);
        state.ResumeTiming();
        window.dlg->RemoveTargets();
        QApplication::processEvents();
    }
}

// New on 100,000 imported targets: the unsaved template goes to the recovery folder first,
// here a folder of this run, never the user's.
void New(benchmark::State& state) {
    const char* userState = std::getenv("XDG_STATE_HOME");
    const std::string previous = userState != nullptr ? userState : "";
    const std::string folder = RunFile("state");
    setenv("XDG_STATE_HOME", folder.c_str(), 1);
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<LoadedWindow>(kLargeTargets);
        window->host.path = RunFile("new.conf");
        state.ResumeTiming();
        window->dlg->NewTemplate();
        QApplication::processEvents();
        state.PauseTiming();
        if (window->dlg->Document().Template().Count != 0) {
            state.SkipWithError("new failed");
            break;
        }
        window.reset(); // closing the window is not part of New
        state.ResumeTiming();
    }
    std::error_code error;
    if (std::filesystem::is_empty(folder + "/permora/recovery", error) || error)
        state.SkipWithError("the recovery file was not written");
    std::filesystem::remove_all(folder);
    if (userState != nullptr)
        setenv("XDG_STATE_HOME", previous.c_str(), 1);
    else
        unsetenv("XDG_STATE_HOME");
}

// Paste Security of one target's descriptor onto all 100,000 selected targets.
void PasteSecurityOnAll(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<LoadedWindow>(kLargeTargets);
        tk::ListView list = List(*window->dlg);
        list.ClearSelection();
        list.Select(1);
        window->dlg->CopySecurity();
        list.Widget()->selectAll();
        QApplication::processEvents();
        state.ResumeTiming();
        window->dlg->PasteSecurity();
        QApplication::processEvents();
        state.PauseTiming();
        if (window->dlg->Document().History().NextUndo() == nullptr ||
            window->dlg->Document().History().NextUndo()->Indexes.size() != kLargeTargets)
            state.SkipWithError("paste failed");
        window.reset(); // closing the window is not part of the paste
        state.ResumeTiming();
    }
}

// Undo of a Remove of all 100,000 targets: every target back in its place, rows shown.
void UndoRemoveAll(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<LoadedWindow>(kLargeTargets);
        List(*window->dlg).Widget()->selectAll();
        window->dlg->RemoveTargets();
        QApplication::processEvents();
        state.ResumeTiming();
        window->dlg->Undo();
        QApplication::processEvents();
        state.PauseTiming();
        if (window->dlg->Document().Template().Count != kLargeTargets)
            state.SkipWithError("undo failed");
        window.reset(); // closing the window is not part of the undo
        state.ResumeTiming();
    }
}

// The bench host, with a dialog played the way a user would before it ends.
class PlayingHost : public BenchHost {
public:
    std::function<void(tk::Modal&)> play;
    int RunModal(tk::Modal& modal) override {
        modal.Start();
        if (play)
            play(modal);
        if (!modal.IsEnded())
            modal.EndModal(tk::IDCANCEL);
        return modal.Result();
    }
};

// Add Paths with 100,000 paths pasted into its box, from its Add button to the list shown.
void AddPathsHundredThousand(benchmark::State& state) {
    EnsureApplication();
    std::string paths;
    for (int i = 0; i < kLargeTargets; ++i)
        paths += "/vol/vol" + std::to_string(i % 16) + "/home/user" + std::to_string(i) + "\n";
    for (auto _ : state) {
        state.PauseTiming();
        PlayingHost host;
        auto dlg = std::make_unique<PermoraDlg>();
        dlg->Start();
        dlg->ModalWidget()->show();
        QApplication::processEvents();
        host.play = [&](tk::Modal& modal) {
            auto* add = dynamic_cast<AddPathsDlg*>(&modal);
            if (add == nullptr)
                return;
            add->SetText(res::AddPathsDlg::IDC_PATHS, paths); // the paste is the user's time
            state.ResumeTiming();
            qobject_cast<QAbstractButton*>(add->Control(tk::IDOK))->click();
        };
        dlg->AddPaths();
        QApplication::processEvents();
        state.PauseTiming();
        if (dlg->Document().Template().Count != kLargeTargets)
            state.SkipWithError("add paths failed");
        dlg->ModalWidget()->hide();
        dlg.reset();
        state.ResumeTiming();
    }
}

// An account with 1,000 permission entries, linked as an edited list may hold them (Add
// would have folded most of them together). Each click starts from the same lists.
std::unique_ptr<SecurityDescriptor> AccountWithManyEntries(int entries) {
    auto descriptor = std::make_unique<SecurityDescriptor>();
    descriptor->Control = SE_DACL_PRESENT;
    AceList& allow = descriptor->DaclList.Allow;
    AceList& deny = descriptor->DaclList.Deny;
    const std::uint32_t masks[] = {kFullControlMask, kModifyMask | kSynchronize,
                                   kReadExecuteMask | kSynchronize, kReadMask | kSynchronize,
                                   kWriteMask | kSynchronize};
    for (int i = 0; i < entries; ++i) {
        AceList& list = i % 4 == 3 ? deny : allow;
        const std::uint8_t type = i % 4 == 3 ? kDenyType : kAllowType;
        // Distinct accounts first, renamed afterwards: Add keeps them apart.
        list.Add(std::make_unique<Ace>("LAB\\wide" + std::to_string(i), masks[i % 5], type,
                                       kDefaultFlags));
    }
    for (AceList* list : {&allow, &deny})
        for (Ace* e = list->Head; e != nullptr; e = e->Next)
            list->Rename(e, "LAB\\wide");
    return descriptor;
}

void SecurityPageClick(benchmark::State& state) {
    EnsureApplication();
    BenchHost host;
    const auto prepared = AccountWithManyEntries(1000);
    TargetObject target("/vol/vol1/wide", prepared->Clone());
    SecurityPropPage page(target);
    tk::PropertySheet sheet("NTFS Security for /vol/vol1/wide");
    sheet.AddPage(&page);
    sheet.Start();
    sheet.ModalWidget()->show();
    QApplication::processEvents();
    auto* readDeny = qobject_cast<QAbstractButton*>(page.Control(1018));
    for (auto _ : state) {
        state.PauseTiming();
        target.Descriptor = prepared->Clone();
        page.FillAccountList();
        readDeny->setChecked(false);
        QApplication::processEvents();
        state.ResumeTiming();
        readDeny->click(); // toggles, then the page's handler runs
        page.Widget()->repaint();
    }
    sheet.ModalWidget()->hide();
    page.ReleaseTarget();
    if (host.messages != 0)
        state.SkipWithError("the page showed messages");
}

void PermissionPageActivation(benchmark::State& state) {
    EnsureApplication();
    BenchHost host;
    auto target = MakeWideTarget(10000, 7);
    PermissionPropPage page(*target);
    tk::PropertySheet sheet("Advanced Security Settings for /vol/vol1/wide");
    sheet.AddPage(&page);
    sheet.Start();
    sheet.ModalWidget()->show();
    QApplication::processEvents();
    for (auto _ : state) {
        page.OnSetActive();
        page.Widget()->repaint();
    }
    sheet.ModalWidget()->hide();
}

// The Effective Access page shown again for an account in two groups, its account field
// filled anew with the 10,000 accounts of the entries.
void EffectiveAccessPageShown(benchmark::State& state) {
    EnsureApplication();
    BenchHost host;
    auto target = MakeWideTarget(10000, 7);
    EffectiveAccessPage page(*target);
    tk::PropertySheet sheet("Advanced Security Settings for /vol/vol1/wide");
    sheet.AddPage(&page);
    sheet.Start();
    sheet.ModalWidget()->show();
    QApplication::processEvents();
    page.Panel().AccountField()->setEditText(QStringLiteral("LAB\\account7"));
    page.Panel().GroupsField()->setText(QStringLiteral("LAB\\account70; LAB\\account700"));
    page.OnView();
    for (auto _ : state) {
        state.PauseTiming();
        page.Panel().SetAccounts({});
        state.ResumeTiming();
        page.OnSetActive();
        page.Widget()->repaint();
    }
    sheet.ModalWidget()->hide();
    if (host.messages != 0)
        state.SkipWithError("the page showed messages");
}

// The recovery snapshot's cost on the window's thread: handing the work over, and when an
// event comes while the writer reads the template, waiting for it to leave the template.
void SnapshotOnWindowThread(benchmark::State& state, int targets) {
    LoadedWindow window(targets);
    SnapshotKeeper& keeper = window.dlg->Snapshot();
    for (auto _ : state) {
        state.PauseTiming();
        keeper.Writer().Wait();
        keeper.Changed();
        state.ResumeTiming();
        keeper.WriteNow();
        state.PauseTiming();
        // Well into the encoding of the template.
        std::this_thread::sleep_for(std::chrono::milliseconds(targets / 10000));
        const bool reading = keeper.Writer().Reading();
        state.ResumeTiming();
        keeper.Writer().StopReading();
        state.PauseTiming();
        if (!reading) {
            state.SkipWithError("the writer was done before the event came");
            break;
        }
        state.ResumeTiming();
    }
    keeper.Discard();
    keeper.Writer().Wait();
}

// The main window's rows at each size: the figures of 100,000 targets, and those of
// 1,000,000.
void RegisterWindowRows(int targets) {
    const bool huge = targets > kLargeTargets;
    auto add = [targets](const char* name, void (*fn)(benchmark::State&, int), bool overASecond,
                         int iterations) {
        const std::string sized = SizedName(name, targets);
        AddBenchmark(sized, overASecond, iterations, fn, targets);
        return sized;
    };
    auto save = [targets](const char* name, bool unicode, bool overASecond, int iterations) {
        const std::string sized = SizedName(name, targets);
        AddBenchmark(sized, overASecond, iterations, [targets, unicode](benchmark::State& state) {
            Save(state, targets, unicode);
        });
        return sized;
    };
    auto up = [](benchmark::State& state, int n) { Move(state, n, true); };
    auto dn = [](benchmark::State& state, int n) { Move(state, n, false); };
    const int light = huge ? 1 : 10;

    AddFigure({add("WindowImport", WindowImport, huge, 1),
               SizedOperation("whole Import into the main window, list shown", targets),
               huge ? 5.0 : 1.0, "", 0});
    AddFigure({save("SaveUnicode", true, huge, light), SizedOperation("Save Unicode", targets),
               huge ? 0 : 0.5, SizedName("DdUnicode", targets), huge ? 1.3 : 3});
    AddFigure({save("SaveUtf8", false, huge, light), SizedOperation("Save UTF8", targets),
               huge ? 0 : 0.5, SizedName("Dd8Bit", targets), huge ? 1.3 : 3});
    AddFigure({add("SelectAllRemove", SelectAllRemove, huge, 1),
               SizedOperation("select all rows + Remove", targets), huge ? 1.0 : 0.3, "", 0});
    AddFigure({add("UpOnLastRow", up, false, 10), SizedOperation("Up on the last row", targets),
               0.016, "", 0});
    AddFigure({add("DnOnNextToLastRow", dn, false, 10),
               SizedOperation("Dn on the next-to-last row", targets), 0.016, "", 0});
    AddFigure({add("RemoveOne", RemoveOne, false, 10),
               SizedOperation("Remove of one row in the middle", targets), 0.016, "", 0});
    AddFigure({add("SnapshotOnWindowThread", SnapshotOnWindowThread, false, 10),
               SizedOperation("recovery snapshot, the window's thread (hand-over, and the wait "
                              "when an event comes during the read)",
                              targets),
               0.016, "", 0});
}

const bool registered = [] {
    AddSizedBenchmarks(RegisterWindowRows);
    AddBenchmark("New", false, 1, New);
    AddBenchmark("PasteSecurityOnAll", false, 1, PasteSecurityOnAll);
    AddBenchmark("AddPathsHundredThousand", false, 1, AddPathsHundredThousand);
    AddBenchmark("UndoRemoveAll", false, 1, UndoRemoveAll);
    AddBenchmark("SecurityPageClick", false, 10, SecurityPageClick);
    AddBenchmark("PermissionPageActivation", false, 10, PermissionPageActivation);
    AddBenchmark("EffectiveAccessPageShown", false, 10, EffectiveAccessPageShown);
    AddFigure({"New", "New", 0.2, "", 0});
    AddFigure({"PasteSecurityOnAll", "Paste Security onto 100,000 selected targets", 1.0, "", 0});
    AddFigure({"AddPathsHundredThousand", "Add Paths of 100,000 paths, list shown", 1.0, "", 0});
    AddFigure({"UndoRemoveAll", "Undo of Remove of all 100,000 targets, list shown", 0.3, "", 0});
    AddFigure({"SecurityPageClick", "standard box click, account with 1,000 entries, boxes redrawn",
               0.016, "", 0});
    AddFigure(
        {"PermissionPageActivation", "permission page activation, 10,000 entries", 0.1, "", 0});
    AddFigure(
        {"EffectiveAccessPageShown", "Effective Access page shown, 10,000 entries", 0.1, "", 0});
    return true;
}();

} // namespace
} // namespace permora::bench
