#pragma once

#include "model/target.h"
#include "model/template_history.h"
#include "template_file/file_identity.h"
#include "template_file/template_file.h"

#include <QObject>

#include <memory>
#include <optional>
#include <string>
#include <vector>

// The template the main window edits, with its undo history, the file its saves go to and
// whether it holds changes no save has written. Whatever changes it says so in a signal,
// and the rows, the file label and the command states follow those signals: a change is
// made here once and never repeated by whoever follows it.
//
// A target's own fields may be changed in place (a descriptor by its page); a change of
// which targets stand where goes through the changes below, so that the rows hear of it.
class TemplateDocument : public QObject {
    Q_OBJECT

public:
    explicit TemplateDocument(QObject* parent = nullptr);
    ~TemplateDocument() override;

    permora::SecurityTemplate& Template() { return template_; }
    const permora::SecurityTemplate& Template() const { return template_; }
    const permora::TemplateHistory& History() const { return history_; }
    // The file the saves write to: "Untitled" (in the working folder) until a file is
    // chosen.
    const std::string& Path() const { return path_; }
    // Whether the template holds changes that no save has written (the label's "*").
    bool IsUnsaved() const { return unsaved_; }

    // Changes of which targets stand where. Each tells the rows; none is a step of the
    // history until it is committed.
    // Appends the target; false, and nothing changed, for an empty pointer.
    bool Append(std::unique_ptr<permora::TargetObject> target);
    // Runs append, which may only append targets at the end of the template (an import, Add
    // Paths), and tells the rows what came in. Returns what append returns.
    template <typename Appender> auto AppendWith(Appender&& append) {
        emit aboutToChangeTargets();
        auto result = append(template_);
        emit targetsAppended();
        return result;
    }
    // Takes out the targets at these rows; the step holds them for Undo.
    permora::TemplateStep Remove(std::vector<int> rows);
    // Exchanges the targets at upper and upper + 1.
    void Swap(int upper);
    // The descriptors of the targets at these rows were changed in place.
    void DescriptorsChanged(const std::vector<int>& rows);
    // The rows are to be taken again from the template, which changed in a way no change
    // above told them.
    void Refresh();

    // Takes a change that has happened into the history as one step, with its name and the
    // selections around it; the template has unsaved changes.
    void Commit(permora::TemplateStep step, std::string name, std::vector<int> selectionBefore,
                std::vector<int> selectionAfter);
    // The template has unsaved changes that are no step of the history.
    void MarkChanged();
    // Takes back the last step (or makes the last undone one again); nullptr when there is
    // none. Back at the template as it was last saved, it has no unsaved changes.
    const permora::TemplateStep* Undo();
    const permora::TemplateStep* Redo();

    // New: the targets go into one step that can be undone, saves go to path, and the
    // template counts as saved. The file is neither created nor read.
    void StartNew(std::string path, std::string name, std::vector<int> selectionBefore);
    // The template is the file at path, read whole with this identity.
    void FileRead(const std::string& path, std::optional<permora::FileIdentity> identity);
    // Writes the template to path. Saved: path is where the saves go, and the template is
    // saved in that encoding. Otherwise nothing here changes.
    permora::SaveStatus Save(const std::string& path, permora::Encoding encoding);
    // Whether another program changed the file at Path() since the document last read or
    // wrote it.
    bool ChangedOnDisk() const;
    // The file at Path() as last read or written, when it was.
    std::optional<permora::FileIdentity> KnownIdentity() const;
    // Recovered work of the file at path, which was as identity says when last read or
    // written: saves go there again, and the template has unsaved changes.
    void Recovered(const std::string& path, std::optional<permora::FileIdentity> identity);

signals:
    // Before any change of which targets stand where; then exactly one of the next five.
    void aboutToChangeTargets();
    // Targets were appended at the end.
    void targetsAppended();
    // The targets at these positions (ascending, as they were) were taken out.
    void targetsRemoved(const std::vector<int>& rows);
    void targetsSwapped(int upper);
    // Undo (undone) or Redo made this step's change.
    void historyMoved(const permora::TemplateStep* step, bool undone);
    void targetsReset();

    void descriptorsChanged(const std::vector<int>& rows);
    // The template changed: both saves have something to write.
    void changed();
    // The template was written in this encoding.
    void saved(permora::Encoding encoding);
    // Path() or IsUnsaved() changed.
    void fileChanged();

private:
    void SetFile(std::string path, bool unsaved);
    const permora::TemplateStep* Moved(const permora::TemplateStep* step, bool undone);

    permora::SecurityTemplate template_;
    permora::TemplateHistory history_;
    std::string path_ = "Untitled";
    bool unsaved_ = false;
    // The file as last read or written, to tell whether another program changed it.
    std::string knownPath_;
    std::optional<permora::FileIdentity> knownIdentity_;
};
