#pragma once

#include "model/target.h"
#include "ui/toolkit/window.h"

#include <QCoreApplication>

#include <memory>
#include <string>

// The dialog in which the user adds a target: a checked path, its security style and what
// the settings apply to. OK opens the security sheet on the new target; only when that sheet
// is confirmed does the dialog close and hand the target over.
class AddFileDlg : public tk::Dialog {
    Q_DECLARE_TR_FUNCTIONS(AddFileDlg)

public:
    AddFileDlg();
    ~AddFileDlg() override;

    // After IDOK: the new target, which the caller takes over.
    std::unique_ptr<permora::TargetObject> ResultTarget;
    std::unique_ptr<permora::TargetObject> TakeResultTarget() { return std::move(ResultTarget); }

    // Handlers.
    void OnPathChange();
    void OnNtfs();
    void OnNfsV4();
    void OnNfsV3();
    void OnFileDirectory();
    void OnStorage();

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    bool HasPath() const;
    bool HasStyle() const { return ntfs_ != 0 || nfsV4_ != 0 || nfsV3_ != 0; }
    bool HasApplyTo() const { return fileDirectory_ != 0 || storage_ != 0; }

    std::string path_;
    int ntfs_ = 0;
    int nfsV4_ = 0;
    int nfsV3_ = 0;
    int fileDirectory_ = 0;
    int storage_ = 0;
    int level_ = permora::kLevelFileDirectory;
};
