#include "ui/targetlistmenu.h"

#include "resources/templates/permoradlg.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

TargetListMenu::TargetListMenu(QWidget* window, const Commands& commands)
    : menu_(new QMenu(window)) {
    auto add = [&](const QString& text, const QList<QKeySequence>& keys,
                   const std::function<void()>& command) {
        QAction* action = menu_->addAction(text);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        // The shortcuts work with the menu closed, too.
        window->addAction(action);
        QObject::connect(action, &QAction::triggered, window, [window, command] {
            if (!window->isHidden() && command)
                command();
        });
        return action;
    };
    using Keys = QList<QKeySequence>;
    undo_ = add(QCoreApplication::translate("PermoraDlg", "&Undo"),
                Keys{QKeySequence(Qt::CTRL | Qt::Key_Z)}, commands.undo);
    redo_ = add(
        QCoreApplication::translate("PermoraDlg", "&Redo"),
        Keys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
        commands.redo);
    menu_->addSeparator();
    copy_ = add(QCoreApplication::translate("PermoraDlg", "&Copy Security"),
                Keys{QKeySequence(Qt::CTRL | Qt::Key_C)}, commands.copySecurity);
    paste_ = add(QCoreApplication::translate("PermoraDlg", "&Paste Security"),
                 Keys{QKeySequence(Qt::CTRL | Qt::Key_V)}, commands.pasteSecurity);
    copyLine_ =
        add(QCoreApplication::translate("PermoraDlg", "Copy &Line"), Keys{}, commands.copyLines);
    menu_->addSeparator();
    addPaths_ =
        add(QCoreApplication::translate("PermoraDlg", "Add Pa&ths..."), Keys{}, commands.addPaths);
    replace_ = add(QCoreApplication::translate("PermoraDlg", "Replace Acc&ount..."), Keys{},
                   commands.replaceAccount);
    recover_ =
        add(QCoreApplication::translate("PermoraDlg", "Reco&ver..."), Keys{}, commands.recover);
    menu_->addSeparator();
    QAction* about = menu_->addAction(
        QCoreApplication::translate("PermoraDlg", res::PermoraDlg::kAboutItemText));
    QObject::connect(about, &QAction::triggered, window, [run = commands.about] {
        if (run)
            run();
    });

    QObject::connect(menu_, &QMenu::aboutToShow, window, [opening = commands.opening] {
        if (opening)
            opening();
    });
    // Closed again, every shortcut is live; each command checks for itself what it can do.
    QObject::connect(menu_, &QMenu::aboutToHide, window, [this] {
        for (QAction* action : menu_->actions())
            action->setEnabled(true);
    });
}

void TargetListMenu::Show(const CommandStates& states, const permora::TemplateStep* nextUndo,
                          const permora::TemplateStep* nextRedo) {
    const auto withStep = [](const QString& verb, const QString& verbWithStep,
                             const permora::TemplateStep* step) {
        return step != nullptr ? verbWithStep.arg(QString::fromStdString(step->Name)) : verb;
    };
    undo_->setText(withStep(QCoreApplication::translate("PermoraDlg", "&Undo"),
                            QCoreApplication::translate("PermoraDlg", "&Undo %1"), nextUndo));
    redo_->setText(withStep(QCoreApplication::translate("PermoraDlg", "&Redo"),
                            QCoreApplication::translate("PermoraDlg", "&Redo %1"), nextRedo));
    for (const auto& [action, enabled] :
         {std::pair{undo_, states.undo}, std::pair{redo_, states.redo},
          std::pair{copy_, states.copySecurity}, std::pair{paste_, states.pasteSecurity},
          std::pair{copyLine_, states.copyLines}, std::pair{addPaths_, states.addPaths},
          std::pair{replace_, states.replaceAccount}, std::pair{recover_, states.recover}}) {
        action->setEnabled(enabled);
    }
}
