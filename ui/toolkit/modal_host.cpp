#include "ui/toolkit/modal_host.h"

#include <QString>
#include <QStringList>

#include <string>

namespace tk {

namespace {

ModalHost* g_host = nullptr; // nullptr: the Qt host

// "*.conf;*.txt" -> "*.conf *.txt"; "*.*", every file there, is "*" to Qt, where "*.*"
// would leave out the names without a dot.
QString QtPatterns(const QString& patterns) {
    QStringList kept;
    for (const QString& part : patterns.split(u';')) {
        const QString pattern = part.trimmed();
        if (pattern.isEmpty())
            continue;
        kept.append(pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern);
    }
    return kept.isEmpty() ? QStringLiteral("*") : kept.join(u' ');
}

} // namespace

ModalHost& Host() {
    return g_host != nullptr ? *g_host : QtHost();
}

ModalHost* SetHost(ModalHost* host) {
    ModalHost* previous = g_host;
    g_host = host;
    return previous;
}

int MessageBox(const Window* owner, std::string_view text, std::string_view title, unsigned type,
               std::string_view informative) {
    return Host().MessageBox(owner, text, title, type, informative);
}

FileDialogResult FileDialog(const FileDialogRequest& request) {
    return Host().FileDialog(request);
}

std::string QtFilter(std::string_view windowsFilter) {
    const QStringList parts = QString::fromUtf8(windowsFilter).split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        if (description.isEmpty())
            break; // "||" ends the list
        const QString& windowsPatterns = parts[i + 1];
        const QString patterns = u'(' + QtPatterns(windowsPatterns) + u')';
        // Qt reads the patterns from the parentheses at the end of the text.
        const QString shown = u'(' + windowsPatterns + u')';
        QString entry = description;
        if (entry.endsWith(shown))
            entry.replace(entry.size() - shown.size(), shown.size(), patterns);
        else
            entry += u' ' + patterns;
        entries.append(entry);
    }
    return entries.join(QStringLiteral(";;")).toStdString();
}

} // namespace tk
