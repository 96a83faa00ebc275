#pragma once

#include <QObject>
#include <QString>

class QLabel;

// Shows the file label's path elided in the middle when the label is too narrow for it,
// with the change mark always in sight after it. The label's text stays whole (screen
// readers read it), and its tooltip holds the whole path.
class FileLabelElider : public QObject {
public:
    explicit FileLabelElider(QLabel* label);

    // The path and whether it is marked as changed ("*").
    void SetPath(const QString& path, bool marked);
    // What the label shows now: its text as it is when it fits, else the path elided.
    QString Shown() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The path elided to fit beside the mark; empty when the whole text fits.
    QString Elided() const;

    QLabel* label_;
    QString path_;
    bool marked_ = false;
    bool set_ = false;
};
