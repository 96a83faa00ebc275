// Handler rows and their lifetime: what a row can bind, and that a handler never runs on
// what is left of a window that is being destroyed.

#include "ui/support/scripted_host.h"
#include "ui/toolkit/window.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using tk::Kind;
using tk::Notify;
using tk::test::Click;
using tk::test::ScriptedHost;

enum Id : int {
    IDC_NAME = 500,
    IDC_PLAIN = 501,
    IDC_BY_ID = 502,
    IDC_LAMBDA = 503,
    IDC_LAMBDA_ID = 504,
    IDC_BOX_FIRST = 510, // three boxes bound in a loop
    IDC_VIEW = 520,
    IDC_PANEL = 530,
};

const tk::DialogTemplate kTemplate{
    920,
    "Binding",
    220,
    160,
    "MS Shell Dlg",
    8,
    {
        {IDC_NAME, Kind::Edit, "", 7, 7, 120, 14},
        {IDC_PLAIN, Kind::PushButton, "Plain", 7, 25, 50, 14},
        {IDC_BY_ID, Kind::PushButton, "By id", 60, 25, 50, 14},
        {IDC_LAMBDA, Kind::PushButton, "Lambda", 113, 25, 50, 14},
        {IDC_LAMBDA_ID, Kind::PushButton, "Lambda id", 166, 25, 50, 14},
        {IDC_BOX_FIRST, Kind::CheckBox, "One", 7, 43, 50, 10},
        {IDC_BOX_FIRST + 1, Kind::CheckBox, "Two", 60, 43, 50, 10},
        {IDC_BOX_FIRST + 2, Kind::CheckBox, "Three", 113, 43, 50, 10},
        {IDC_VIEW, Kind::ListView, "", 7, 57, 206, 40},
        {IDC_PANEL, Kind::Host, "", 7, 101, 206, 14},
        {tk::IDOK, Kind::PushButton, "OK", 110, 139, 50, 14, tk::state::kDefault},
        {tk::IDCANCEL, Kind::PushButton, "Cancel", 163, 139, 50, 14},
    },
};

using Log = std::vector<std::string>;

class Binder : public tk::Dialog {
public:
    Binder();
    Log log;
    QLineEdit* panel = nullptr;

    void OnPlain() { log.push_back("plain"); }
    void OnById(int id) { log.push_back("by id " + std::to_string(id)); }
    void OnKey(int key) { log.push_back("key " + std::to_string(key)); }
};

const tk::Handler<Binder> kBinderRows[] = {
    {IDC_PLAIN, Notify::Clicked, &Binder::OnPlain},
    {IDC_BY_ID, Notify::Clicked, &Binder::OnById},
    {IDC_LAMBDA, Notify::Clicked, [](Binder& b) { b.log.push_back("lambda"); }},
    {IDC_LAMBDA_ID, Notify::Clicked,
     [](Binder& b, int id) { b.log.push_back("lambda " + std::to_string(id)); }},
    {IDC_VIEW, &Binder::OnKey},
};

Binder::Binder() : tk::Dialog(kTemplate) {
    Bind(this, kBinderRows);
    for (int id = IDC_BOX_FIRST; id < IDC_BOX_FIRST + 3; ++id) {
        Bind(this, id, Notify::Clicked, [this](int box) {
            log.push_back("box " + std::to_string(box) + " " + std::to_string(Check(box)));
        });
    }
    panel = HostWidget(IDC_PANEL, std::make_unique<QLineEdit>());
    Bind(this, panel, &QLineEdit::textChanged,
         [this](const QString& text) { log.push_back("panel " + text.toStdString()); });
    Bind(this, panel, &QLineEdit::returnPressed, [this] { log.push_back("panel return"); });
}

TEST(HandlerRowTest, BindsMembersAndAnyCallableWithOrWithoutTheId) {
    Binder dlg;
    dlg.GetListView(IDC_VIEW).InsertColumn(0, "Name", 100);
    dlg.GetListView(IDC_VIEW).InsertRow(0, "row");
    ScriptedHost host;
    host.ExpectModal<Binder>([](Binder& d) {
        const struct {
            std::function<void()> input;
            const char* logged;
        } steps[] = {
            {[&] { Click(d, IDC_PLAIN); }, "plain"},
            {[&] { Click(d, IDC_BY_ID); }, "by id 502"},
            {[&] { Click(d, IDC_LAMBDA); }, "lambda"},
            {[&] { Click(d, IDC_LAMBDA_ID); }, "lambda 504"},
            {[&] { Click(d, IDC_BOX_FIRST + 1); }, "box 511 1"},
            {[&] { Click(d, IDC_BOX_FIRST + 2); }, "box 512 1"},
            {[&] { Click(d, IDC_BOX_FIRST + 1); }, "box 511 0"},
            {[&] { tk::test::PressKey(d, IDC_VIEW, Qt::Key_Delete); }, "key 46"},
            {[&] { QTest::keyClicks(d.panel, QStringLiteral("a")); }, "panel a"},
            {[&] { QTest::keyClick(d.panel, Qt::Key_Return); }, "panel return"},
        };
        for (const auto& step : steps) {
            d.log.clear();
            step.input();
            EXPECT_EQ(d.log, Log{step.logged});
        }
    });
    EXPECT_EQ(dlg.DoModal(), tk::IDOK) << "Return then presses the default button, as ever";
}

// A base that changes its controls as it goes, as a page that empties its fields might.
class EmptiesOnTheWayOut : public tk::Dialog {
public:
    EmptiesOnTheWayOut() : tk::Dialog(kTemplate) {
        panel = HostWidget(IDC_PANEL, std::make_unique<QLineEdit>());
    }
    ~EmptiesOnTheWayOut() override {
        SetText(IDC_NAME, "");
        panel->clear();
    }
    QLineEdit* panel = nullptr;
};

// Its derived window binds handlers and does nothing about them in its destructor.
class Listener : public EmptiesOnTheWayOut {
public:
    explicit Listener(Log& log) : log_(log) {
        static const tk::Handler<Listener> rows[] = {
            {IDC_NAME, Notify::Changed, &Listener::OnName},
        };
        Bind(this, rows);
        Bind(this, panel, &QLineEdit::textChanged,
             [this](const QString& text) { log_.push_back("panel " + text.toStdString()); });
    }
    ~Listener() override { log_.push_back("~Listener"); }
    void OnName() { log_.push_back("name " + Text(IDC_NAME)); }

private:
    Log& log_;
};

TEST(HandlerLifetimeTest, NoHandlerRunsOnceItsWindowIsGoing) {
    Log log;
    {
        Listener dlg(log);
        dlg.SetText(IDC_NAME, "x");
        dlg.panel->setText(QStringLiteral("y"));
    }
    EXPECT_EQ(log, (Log{"name x", "panel y", "~Listener"}));
}

} // namespace
