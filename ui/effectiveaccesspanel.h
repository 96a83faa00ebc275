#pragma once

#include "model/effective_access.h"

#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QStringListModel;
class QTableWidget;

// The fields and tables of the Effective Access page: the account and its groups, View,
// then the standard permissions, the rights and the audited rights by this folder,
// subfolders and files, and under them what decided the cell that has the focus.
class EffectiveAccessPanel : public QWidget {
public:
    explicit EffectiveAccessPanel(QWidget* parent = nullptr);

    QComboBox* AccountField() const { return account_; }
    QLineEdit* GroupsField() const { return groups_; }
    QPushButton* ViewButton() const { return view_; }
    QTableWidget* StandardTable() const { return standard_; }
    QTableWidget* RightsTable() const { return rights_; }
    QTableWidget* AuditTable() const { return audits_; }
    QLabel* ShownFor() const { return caption_; }
    QLabel* Details() const { return details_; }

    // The accounts offered for the field; the text typed stays.
    void SetAccounts(const std::vector<std::string>& accounts);
    void ShowAccess(const permora::EffectiveAccess& access, const permora::AccessSubject& subject);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowDetails(QTableWidget* table);
    void ShowCurrentCell(QTableWidget* table);
    int TableRoom() const;

    QComboBox* account_;
    QStringListModel* accountModel_;
    QLineEdit* groups_;
    QPushButton* view_;
    QLabel* caption_;
    QScrollArea* scroll_;
    QTableWidget* standard_;
    QTableWidget* rights_;
    QLabel* auditCaption_;
    QTableWidget* audits_;
    QLabel* details_;
    std::vector<std::string> accounts_;
};
