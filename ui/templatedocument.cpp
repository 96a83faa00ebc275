#include "ui/templatedocument.h"

#include <utility>

TemplateDocument::TemplateDocument(QObject* parent) : QObject(parent) {}

TemplateDocument::~TemplateDocument() = default;

bool TemplateDocument::Append(std::unique_ptr<permora::TargetObject> target) {
    if (!target)
        return false;
    return AppendWith(
        [&](permora::SecurityTemplate& tmpl) { return tmpl.Append(std::move(target)); });
}

permora::TemplateStep TemplateDocument::Remove(std::vector<int> rows) {
    emit aboutToChangeTargets();
    permora::TemplateStep step = permora::RemoveStep(template_, std::move(rows));
    emit targetsRemoved(step.Indexes);
    return step;
}

void TemplateDocument::Swap(int upper) {
    emit aboutToChangeTargets();
    template_.MoveDown(upper);
    emit targetsSwapped(upper);
}

void TemplateDocument::DescriptorsChanged(const std::vector<int>& rows) {
    emit descriptorsChanged(rows);
}

void TemplateDocument::Refresh() {
    emit aboutToChangeTargets();
    emit targetsReset();
}

void TemplateDocument::Commit(permora::TemplateStep step, std::string name,
                              std::vector<int> selectionBefore, std::vector<int> selectionAfter) {
    step.Name = std::move(name);
    step.SelectionBefore = std::move(selectionBefore);
    step.SelectionAfter = std::move(selectionAfter);
    history_.Push(std::move(step));
    MarkChanged();
}

void TemplateDocument::MarkChanged() {
    SetFile(path_, true);
    emit changed();
}

const permora::TemplateStep* TemplateDocument::Undo() {
    emit aboutToChangeTargets();
    return Moved(history_.Undo(template_), true);
}

const permora::TemplateStep* TemplateDocument::Redo() {
    emit aboutToChangeTargets();
    return Moved(history_.Redo(template_), false);
}

const permora::TemplateStep* TemplateDocument::Moved(const permora::TemplateStep* step,
                                                     bool undone) {
    if (step == nullptr)
        return nullptr;
    emit historyMoved(step, undone);
    std::string path = path_;
    if (step->ChangesPath)
        path = undone ? step->PathBefore : step->PathAfter;
    // Back at the template as it was last saved (or made new), it has nothing unsaved.
    SetFile(std::move(path), !history_.IsAtSavedState());
    emit changed();
    return step;
}

void TemplateDocument::StartNew(std::string path, std::string name,
                                std::vector<int> selectionBefore) {
    std::vector<int> all(static_cast<std::size_t>(template_.Count));
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int>(i);
    permora::TemplateStep step = Remove(std::move(all));
    step.ChangesPath = true;
    step.PathBefore = path_;
    step.PathAfter = path;
    step.Name = std::move(name);
    step.SelectionBefore = std::move(selectionBefore);
    history_.Push(std::move(step));
    history_.MarkSaved();
    SetFile(std::move(path), false);
}

void TemplateDocument::FileRead(const std::string& path,
                                std::optional<permora::FileIdentity> identity) {
    history_.MarkSaved();
    knownPath_ = path;
    knownIdentity_ = identity;
    SetFile(path, false);
}

permora::SaveStatus TemplateDocument::Save(const std::string& path, permora::Encoding encoding) {
    const permora::SaveStatus status = permora::SaveTemplate(path, template_, encoding);
    if (status == permora::SaveStatus::Saved) {
        FileRead(path, permora::IdentityOf(path));
        emit saved(encoding);
    }
    return status;
}

std::optional<permora::FileIdentity> TemplateDocument::KnownIdentity() const {
    return knownPath_ == path_ ? knownIdentity_ : std::nullopt;
}

void TemplateDocument::Recovered(const std::string& path,
                                 std::optional<permora::FileIdentity> identity) {
    knownPath_ = path;
    knownIdentity_ = identity;
    SetFile(path, true);
}

bool TemplateDocument::ChangedOnDisk() const {
    return knownIdentity_ && knownPath_ == path_ && permora::ChangedSince(path_, *knownIdentity_);
}

void TemplateDocument::SetFile(std::string path, bool unsaved) {
    path_ = std::move(path);
    unsaved_ = unsaved;
    emit fileChanged();
}
