// Every window in every language: each control's text fits the rectangle its template
// gives it, access keys stay unique within a window, and a picture of each window is
// written to look at. Also which language the locale picks.

#include "../platform/recovery_support.h"
#include "../ui/advanced_support.h"
#include "../ui/support/files.h"
#include "../ui/support/scripted_host.h"
#include "model/names.h"
#include "model/target.h"
#include "resources/templates/addpathsdlg.h"
#include "resources/templates/inputntaccountdlg.h"
#include "resources/templates/permoradlg.h"
#include "template_file/access_table.h"
#include "ui/aboutdlg.h"
#include "ui/addfiledlg.h"
#include "ui/addpathsdlg.h"
#include "ui/auditingproppage.h"
#include "ui/effectiveaccesspage.h"
#include "ui/effectiveaccesspanel.h"
#include "ui/inputntaccountdlg.h"
#include "ui/objectauditproppage.h"
#include "ui/objectpermproppage.h"
#include "ui/permissionproppage.h"
#include "ui/permoradlg.h"
#include "ui/readable_style.h"
#include "ui/recoverdlg.h"
#include "ui/recovery.h"
#include "ui/recoveryoffer.h"
#include "ui/replaceaccountdlg.h"
#include "ui/securityproppage.h"
#include "ui/shown_names.h"
#include "ui/translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QTextLayout>
#include <QTranslator>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

const char* const kLanguages[] = {"de", "fr", "es", "ja", "zh_CN"};

std::string Plain(const QString& text) {
    QString plain = text;
    plain.remove(u'&');
    return plain.toStdString();
}

QString WithoutMarks(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        plain += text[i];
    }
    return plain;
}

// The room a text needs beside what its control gives it, in pixels; 0 when it fits.
int Overflow(const QFontMetrics& metrics, const QRect& room, const QString& text, bool wrap) {
    if (!wrap)
        return std::max(0, metrics.horizontalAdvance(text) - room.width());
    const QRect needed = metrics.boundingRect(QRect(0, 0, room.width(), 10000),
                                              Qt::TextWordWrap | Qt::AlignLeft, text);
    return std::max({0, needed.height() - room.height(), needed.width() - room.width()});
}

QRect ButtonContents(const QAbstractButton* button, QStyle::SubElement element) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    return button->style()->subElementRect(element, &option, button);
}

// Each visible control of the window whose text does not fit.
void ExpectTextsFit(QWidget* window) {
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window))
            continue;
        const QFontMetrics metrics(widget->font());
        int over = 0;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->pixmap().isNull()) {
                text = WithoutMarks(label->text());
                over = Overflow(metrics, label->contentsRect(), text, label->wordWrap());
            }
        } else if (auto* push = qobject_cast<QPushButton*>(widget)) {
            text = WithoutMarks(push->text());
            over =
                Overflow(metrics, ButtonContents(push, QStyle::SE_PushButtonContents), text, false);
        } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            text = WithoutMarks(box->text());
            const QRect room = ButtonContents(box, QStyle::SE_CheckBoxContents);
            over = Overflow(metrics, room, text, box->height() >= 2 * metrics.height());
        } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            text = WithoutMarks(radio->text());
            over = Overflow(metrics, ButtonContents(radio, QStyle::SE_RadioButtonContents), text,
                            false);
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            text = WithoutMarks(group->title());
            over = Overflow(metrics, group->rect().adjusted(8, 0, -8, 0), text, false);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            const int arrow = combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
            for (int i = 0; i < combo->count(); ++i) {
                const int item = Overflow(metrics, combo->rect().adjusted(0, 0, -arrow, 0),
                                          combo->itemText(i), false);
                if (item > over) {
                    over = item;
                    text = combo->itemText(i);
                }
            }
        }
        if (text.isEmpty())
            continue;
        EXPECT_EQ(over, 0) << "\"" << text.toStdString() << "\" needs " << over
                           << " more pixels in a " << widget->metaObject()->className() << " of "
                           << widget->width() << "x" << widget->height();
    }
}

// Nothing reaches past the right edge of a scroll area that does not scroll sideways.
void ExpectNothingCutOffSideways(QWidget* window) {
    for (QScrollArea* area : window->findChildren<QScrollArea*>()) {
        if (!area->isVisibleTo(window) || area->widget() == nullptr ||
            area->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
            continue;
        const int room = area->viewport()->width();
        for (QWidget* inner :
             area->widget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!inner->isVisibleTo(area->widget()))
                continue;
            const int right = inner->mapTo(area->widget(), QPoint(inner->width(), 0)).x();
            EXPECT_LE(right, room) << "a " << inner->metaObject()->className() << " named \""
                                   << inner->accessibleName().toStdString() << "\" is "
                                   << right - room << " pixels wider than its scroll area";
        }
    }
}

// No two controls of a window answer to the same access key.
void ExpectUniqueAccessKeys(QWidget* window) {
    std::map<QChar, std::string> keys;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window) || !widget->isEnabled())
            continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        const qsizetype mark = text.indexOf(u'&');
        if (mark < 0 || mark + 1 >= text.size() || text[mark + 1] == u'&')
            continue;
        const QChar key = text[mark + 1].toLower();
        const auto [at, fresh] = keys.emplace(key, Plain(text));
        EXPECT_TRUE(fresh) << "\"" << Plain(text) << "\" and \"" << at->second
                           << "\" share the access key " << QString(key).toStdString();
    }
}

constexpr const char* kDescriptor = "S:AR(AU;CIOISA;0x1f01ff;;;LAB\\auditors)"
                                    "D:AR(D;CIOI;0x116;;;LAB\\guest)(A;CIOI;0x1200a9;;;Everyone)"
                                    "(A;OICI;0x1301bf;;;LAB\\staff)(A;CI;0x20;;;LAB\\guest)";

// The labels and buttons of a window a user can reach, in the order they were made.
std::vector<QWidget*> TextControls(QWidget* window) {
    std::vector<QWidget*> found;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->isVisibleTo(window) && (qobject_cast<QLabel*>(widget) != nullptr ||
                                            qobject_cast<QAbstractButton*>(widget) != nullptr))
            found.push_back(widget);
    }
    return found;
}

QString ShownText(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    return static_cast<const QAbstractButton*>(widget)->text();
}

bool HasAccessKey(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return true;
        ++i;
    }
    return false;
}

// Which labels and buttons of a window have an access key, in the order TextControls gives.
std::vector<bool> AccessKeysOf(QWidget* window) {
    std::vector<bool> keys;
    for (const QWidget* widget : TextControls(window))
        keys.push_back(HasAccessKey(ShownText(widget)));
    return keys;
}

// A language keeps every access key the English window has, and gives no two buttons of a
// window the same text.
void ExpectKeysKeptAndButtonsApart(QWidget* window, const std::vector<bool>& english) {
    const std::vector<QWidget*> controls = TextControls(window);
    ASSERT_EQ(controls.size(), english.size()) << "the window shows other controls than in English";
    std::map<std::string, int> buttons;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const QString text = ShownText(controls[i]);
        if (english[i]) {
            EXPECT_TRUE(HasAccessKey(text)) << "\"" << Plain(text) << "\" lost its access key";
        }
        if (qobject_cast<QAbstractButton*>(controls[i]) != nullptr && !text.isEmpty()) {
            const auto [at, fresh] = buttons.emplace(Plain(text), 0);
            EXPECT_TRUE(fresh) << "two buttons read \"" << at->first << "\"";
        }
    }
}

// For the Effective Access page of LAB\guest in LAB\staff, cells with the longest texts: a
// right denied to the child folders and allowed below them, audits of the first level only.
constexpr const char* kAccessDescriptor =
    "S:(AU;NPCISAFA;0x10000;;;LAB\\staff)(AU;OISA;0x1;;;LAB\\guest)"
    "D:(D;NPCIIO;0x10000;;;LAB\\staff)(D;CIOI;0x116;;;LAB\\guest)(A;CIOI;0x1200a9;;;Everyone)"
    "(A;OICI;0x1301bf;;;LAB\\staff)(A;NPCI;0x20;;;LAB\\guest)";

// The page viewed for LAB\guest in LAB\staff, with the cell that has the longest explanation
// (Delete on the subfolders) current, so that the line under the tables shows it.
void ViewEffectiveAccess(EffectiveAccessPage& page) {
    EffectiveAccessPanel& panel = page.Panel();
    panel.AccountField()->setEditText(QStringLiteral("LAB\\guest"));
    panel.GroupsField()->setText(QStringLiteral("LAB\\staff"));
    panel.ViewButton()->click();
    QTableWidget* rights = panel.RightsTable();
    rights->setFocus();
    rights->setCurrentCell(10, permora::kSubfoldersColumn);
}

class Language {
public:
    explicit Language(const std::string& language) {
        EXPECT_EQ(translations::Install({language}, PERMORA_TRANSLATIONS_DIR), language);
    }
    ~Language() { translations::Uninstall(); }
};

// Runs each window of the program the way the user meets it, and hands it over open.
void ForEachWindow(const std::function<void(const std::string& name, QWidget* window)>& look) {
    tk::test::ScriptedHost host;
    {
        PermoraDlg main;
        main.ImportAtStart({std::string(PERMORA_FIXTURES_DIR) + "/main-window-unicode.conf"});
        host.ExpectModal<PermoraDlg>([&](PermoraDlg& shown) {
            look("main-window", shown.Widget());
            tk::test::Click(shown, res::PermoraDlg::IDC_CLOSE);
        });
        main.DoModal();
    }
    {
        // With the line that offers recovered work above the list.
        const tk::test::TempDir state;
        const recovery_test::StateHome home(state.Path().string());
        permora::SecurityTemplate kept;
        EXPECT_TRUE(kept.Append(std::make_unique<permora::TargetObject>(
            "/vol/vol1/qt1", permora::MakeDefaultDescriptor())));
        EXPECT_FALSE(recovery::Write(kept).empty());
        PermoraDlg main;
        main.OfferRecoveryAtStart();
        host.ExpectModal<PermoraDlg>([&](PermoraDlg& shown) {
            EXPECT_TRUE(shown.Offer().IsShown());
            look("main-window-offer", shown.Widget());
            tk::test::Click(shown, res::PermoraDlg::IDC_CLOSE);
        });
        main.DoModal();
    }
    const auto runDialog = [&]<class D>(D& dialog, const std::string& name, int closeId) {
        host.ExpectModal<D>([&](D& shown) {
            look(name, shown.Widget());
            tk::test::Click(shown, closeId);
        });
        dialog.DoModal();
    };
    {
        AboutDlg about;
        runDialog(about, "about", tk::IDOK);
        AddFileDlg add;
        runDialog(add, "add-target", tk::IDCANCEL);
        const permora::SecurityTemplate empty;
        const std::unique_ptr<permora::SecurityDescriptor> copied =
            permora::MakeDefaultDescriptor();
        AddPathsDlg paths(empty, copied.get());
        runDialog(paths, "add-paths", tk::IDCANCEL);
        // With the lines it refuses counted above their list.
        AddPathsDlg refused(empty, copied.get());
        host.ExpectModal<AddPathsDlg>([&](AddPathsDlg& shown) {
            shown.SetText(res::AddPathsDlg::IDC_PATHS, "bad path\n/vol/ok\nanother bad one");
            tk::test::Click(shown, tk::IDOK);
            look("add-paths-refused", shown.Widget());
            tk::test::Click(shown, tk::IDCANCEL);
        });
        refused.DoModal();
        // Lines without an account, or with a bad one, where a stand-in is to be replaced.
        AddPathsDlg accounts(empty, copied.get());
        host.ExpectModal<AddPathsDlg>([&](AddPathsDlg& shown) {
            shown.SetText(res::AddPathsDlg::IDC_STAND_IN, "Everyone");
            shown.SetText(res::AddPathsDlg::IDC_PATHS, "/vol/home/bob\n/vol/home/ann\tLAB\\ann.x");
            tk::test::Click(shown, tk::IDOK);
            look("add-paths-accounts", shown.Widget());
            tk::test::Click(shown, tk::IDCANCEL);
        });
        accounts.DoModal();
        ReplaceAccountDlg replace(true);
        runDialog(replace, "replace-account", tk::IDCANCEL);
        InputNTAccountDlg account;
        runDialog(account, "account", res::InputNTAccountDlg::IDC_CANCEL);
        RecoverDlg recover({});
        runDialog(recover, "recover", tk::IDCANCEL);
    }
    const auto runPages = [&](std::vector<tk::PropertyPage*> pages, const std::string& name) {
        tk::PropertySheet sheet("/vol/vol1/qt1");
        for (tk::PropertyPage* page : pages)
            sheet.AddPage(page);
        host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& shown) {
            for (int i = 0; i < shown.PageCount(); ++i) {
                tk::test::ClickTab(shown, i);
                look(name + (pages.size() > 1 ? "-" + std::to_string(i) : ""), shown.ModalWidget());
            }
            shown.PressCancel();
        });
        sheet.DoModal();
    };
    const auto target = advtest::MakeTarget(kDescriptor);
    {
        SecurityPropPage security(*target);
        runPages({&security}, "security-page");
        security.ReleaseTarget();
    }
    {
        PermissionPropPage permissions(*target);
        AuditingPropPage auditing(*target);
        EffectiveAccessPage access(*target);
        runPages({&permissions, &auditing, &access}, "advanced");
    }
    {
        const auto accessTarget = advtest::MakeTarget(kAccessDescriptor);
        EffectiveAccessPage access(*accessTarget);
        tk::PropertySheet sheet("/vol/vol1/qt1");
        sheet.AddPage(&access);
        host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& shown) {
            ViewEffectiveAccess(access);
            look("effective-access", shown.ModalWidget());
            shown.PressCancel();
        });
        sheet.DoModal();
    }
    {
        ObjectPermPropPage permission(
            *target->Descriptor->DaclList.EntryAt(1, permora::ListKind::Permissions),
            permora::kLevelFileDirectory);
        runPages({&permission}, "permission-entry");
        ObjectAuditPropPage audit(std::string("LAB\\auditors"), permora::kLevelFileDirectory);
        runPages({&audit}, "auditing-entry");
    }
}

TEST(Translations, EveryWindowFitsItsTextsInEveryLanguage) {
    std::map<std::string, std::vector<bool>> englishKeys;
    ForEachWindow([&](const std::string& name, QWidget* window) {
        englishKeys[name] = AccessKeysOf(window);
    });
    for (const char* language : kLanguages) {
        SCOPED_TRACE(language);
        const Language shown(language);
        ForEachWindow([&](const std::string& name, QWidget* window) {
            SCOPED_TRACE(name);
            ExpectKeysKeptAndButtonsApart(window, englishKeys[name]);
            ExpectTextsFit(window);
            ExpectNothingCutOffSideways(window);
            ExpectUniqueAccessKeys(window);
            tk::test::SavePng(window, std::string("i18n-") + language + "-" + name);
        });
    }
}

// High contrast (white on black) and a large font (run with QT_SCALE_FACTOR=2): every window
// in English, checked as above, with a picture of each. PERMORA_LOOK names the look.
TEST(Look, EveryWindowStaysReadable) {
    const QByteArray look = qgetenv("PERMORA_LOOK");
    if (look.isEmpty())
        GTEST_SKIP() << "PERMORA_LOOK is not set";
    const QPalette before = QApplication::palette();
    if (look == "contrast") {
        QPalette contrast;
        for (const QPalette::ColorRole role :
             {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button,
              QPalette::ToolTipBase})
            contrast.setColor(role, Qt::black);
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText,
              QPalette::BrightText, QPalette::PlaceholderText})
            contrast.setColor(role, Qt::white);
        contrast.setColor(QPalette::Highlight, Qt::yellow);
        contrast.setColor(QPalette::HighlightedText, Qt::black);
        contrast.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0xa0, 0xa0, 0xa0));
        contrast.setColor(QPalette::Disabled, QPalette::Text, QColor(0xa0, 0xa0, 0xa0));
        contrast.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0xa0, 0xa0, 0xa0));
        QApplication::setPalette(contrast);
    }
    InstallReadableStyle(); // as the program does
    ForEachWindow([&](const std::string& name, QWidget* window) {
        SCOPED_TRACE(name);
        ExpectTextsFit(window);
        ExpectNothingCutOffSideways(window);
        tk::test::SavePng(window, "look-" + look.toStdString() + "-" + name);
    });
    QApplication::setPalette(before);
}

TEST(Translations, EveryNameTheModelGivesIsTranslated) {
    std::vector<const char*> names;
    for (std::uint32_t bit = 0; bit < 32; ++bit)
        names.push_back(permora::PermissionName(1u << bit));
    for (const std::uint32_t mask :
         {0x0u, 0x116u, 0x20089u, 0x200a9u, 0x201bfu, 0x301bfu, 0xf01ffu, 0x3u})
        names.push_back(permora::PermissionName(mask));
    for (int code = 0; code < 16; ++code)
        names.push_back(permora::ApplyToName(code));
    for (int value = 0; value < 4; ++value) {
        names.push_back(permora::StyleName(value));
        names.push_back(permora::LevelName(value));
    }
    for (const int flags : {0x00, 0x40, 0x80, 0xC0}) {
        permora::Ace audit("Everyone", permora::kAuditType);
        audit.Flags = static_cast<std::uint8_t>(flags);
        names.push_back(permora::EntryTypeName(audit, permora::ListKind::Auditing));
    }
    names.push_back(permora::EntryTypeName(permora::Ace("Everyone", permora::kAllowType),
                                           permora::ListKind::Permissions));
    names.push_back(permora::EntryTypeName(permora::Ace("Everyone", permora::kDenyType),
                                           permora::ListKind::Permissions));
    for (const char* language : kLanguages) {
        SCOPED_TRACE(language);
        QTranslator translator;
        ASSERT_TRUE(translator.load(QStringLiteral("permora_") + QString::fromLatin1(language),
                                    QStringLiteral(PERMORA_TRANSLATIONS_DIR)));
        for (const char* name : names) {
            if (name != nullptr) {
                EXPECT_FALSE(translator.translate("Names", name).isEmpty()) << name;
            }
        }
    }
}

// Every message of the reader, which Import shows in its "Error" boxes.
TEST(Translations, EveryReaderMessageIsTranslated) {
    for (const char* language : kLanguages) {
        SCOPED_TRACE(language);
        QTranslator translator;
        ASSERT_TRUE(translator.load(QStringLiteral("permora_") + QString::fromLatin1(language),
                                    QStringLiteral(PERMORA_TRANSLATIONS_DIR)));
        for (const char* message : permora::kReaderMessages)
            EXPECT_FALSE(translator.translate("Reader", message).isEmpty()) << message;
    }
}

TEST(Translations, EveryPhraseOfTheAccessTableIsTranslated) {
    for (const char* language : kLanguages) {
        SCOPED_TRACE(language);
        QTranslator translator;
        ASSERT_TRUE(translator.load(QStringLiteral("permora_") + QString::fromLatin1(language),
                                    QStringLiteral(PERMORA_TRANSLATIONS_DIR)));
        for (const char* pattern : permora::PhrasePatterns())
            EXPECT_FALSE(translator.translate("AccessTable", pattern).isEmpty()) << pattern;
    }
}

// The cells, their explanations and the line under the tables, put together in the language.
TEST(Translations, TheEffectiveAccessPageShowsItsCellsInTheLanguage) {
    const Language german("de");
    const auto target = advtest::MakeTarget(kAccessDescriptor);
    const permora::AccessSubject subject("LAB\\guest", {"LAB\\staff"});
    EffectiveAccessPanel panel;
    panel.ShowAccess(permora::ComputeEffectiveAccess(*target->Descriptor, subject), subject);
    QTableWidget* rights = panel.RightsTable();
    const QTableWidgetItem* deleteOnSubfolders = rights->item(10, permora::kSubfoldersColumn);
    ASSERT_NE(deleteOnSubfolders, nullptr);
    EXPECT_EQ(deleteOnSubfolders->text().toStdString(),
              "Verweigert in der ersten Ebene, darunter zugelassen");
    EXPECT_EQ(rights->item(9, permora::kFilesColumn)->text().toStdString(), "Nicht zugelassen");
    EXPECT_EQ(panel.AuditTable()->item(1, permora::kSubfoldersColumn)->text().toStdString(),
              "Erfolgreich und Fehler nur in der ersten Ebene");
    rights->setCurrentCell(10, permora::kSubfoldersColumn);
    EXPECT_EQ(panel.Details()->text().toStdString(),
              "Löschen, Unterordner: In der ersten Ebene:\n"
              "Verweigert durch Eintrag 1: (D;NPCIIO;0x10000;;;LAB\\staff)\n"
              "Unterhalb der ersten Ebene:\n"
              "Zugelassen durch Eintrag 4: (A;CIOI;0x1301bf;;;LAB\\staff)");
    EXPECT_EQ(deleteOnSubfolders->data(Qt::AccessibleDescriptionRole).toString(),
              deleteOnSubfolders->toolTip());
}

// Japanese and Chinese draw many Han characters differently: each language gets its own
// forms of them, whatever the locale of the process.
TEST(Translations, HanCharactersTakeTheFormsOfTheLanguage) {
    const struct {
        const char* language;
        const char* family;
    } cases[] = {{"ja", "Noto Sans CJK JP"}, {"zh_CN", "Noto Sans CJK SC"}};
    const QFont desktop = QApplication::font();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        const Language shown(c.language);
        QLabel label(QStringLiteral("\u6743\u9650"));
        QTextLayout layout(label.text(), label.font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        ASSERT_FALSE(runs.isEmpty());
        EXPECT_EQ(runs.front().rawFont().familyName().toStdString(), c.family);
    }
    EXPECT_EQ(QApplication::font(), desktop) << "English has the desktop's font again";
    EXPECT_EQ(QLabel().font().families(), desktop.families());
}

TEST(Translations, TheLanguageFollowsTheLocale) {
    const struct {
        std::map<std::string, std::string> env;
        std::vector<std::string> wanted;
        std::string installed;
    } cases[] = {
        {{}, {}, ""},
        {{{"LANG", "de_DE.UTF-8"}}, {"de_DE", "de"}, "de"},
        {{{"LANG", "fr_FR.UTF-8"}, {"LC_MESSAGES", "es_ES.UTF-8"}}, {"es_ES", "es"}, "es"},
        {{{"LC_ALL", "ja_JP.UTF-8"}, {"LC_MESSAGES", "es_ES"}}, {"ja_JP", "ja"}, "ja"},
        {{{"LANG", "zh_CN.UTF-8"}}, {"zh_CN", "zh"}, "zh_CN"},
        // Traditional Chinese is not Simplified Chinese: English it is.
        {{{"LANG", "zh_TW.UTF-8"}}, {"zh_TW", "zh"}, ""},
        {{{"LANGUAGE", "it:fr"}, {"LANG", "de_DE.UTF-8"}}, {"it", "fr", "de_DE", "de"}, "fr"},
        {{{"LANGUAGE", "en_GB:fr"}, {"LANG", "fr_FR.UTF-8"}}, {"en_GB", "en", "fr", "fr_FR"}, ""},
        // LANGUAGE counts only with a locale other than C.
        {{{"LANGUAGE", "de"}, {"LANG", "C.UTF-8"}}, {}, ""},
        {{{"LANG", "de_AT.UTF-8@euro"}}, {"de_AT", "de"}, "de"},
        {{{"LANG", "pt_BR.UTF-8"}}, {"pt_BR", "pt"}, ""},
    };
    for (const auto& c : cases) {
        const auto env = [&](const char* name) {
            const auto found = c.env.find(name);
            return found == c.env.end() ? std::string() : found->second;
        };
        const std::vector<std::string> wanted = translations::WantedLanguages(env);
        EXPECT_EQ(wanted, c.wanted);
        EXPECT_EQ(translations::Install(wanted, PERMORA_TRANSLATIONS_DIR), c.installed);
        translations::Uninstall();
    }
}

TEST(Translations, ShowsTranslatedTextsAndEnglishAgainAfterwards) {
    {
        const Language german("de");
        AddFileDlg dialog;
        EXPECT_EQ(dialog.Title(), "Datei oder Ordner zur Vorlage hinzufügen");
        EXPECT_EQ(ShownNameText("Full Control"), "Vollzugriff");
        EXPECT_EQ(ShownReaderMessage("   Invalid File"), "   Ungültige Datei");
    }
    AddFileDlg dialog;
    EXPECT_EQ(dialog.Title(), "Add a File or Folder to the template");
}

} // namespace
