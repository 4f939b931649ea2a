#pragma once

namespace rp {

// What the in-place editors ask of the window they are laid over: the tray
// view implements it, so that the editors need nothing above them.
class IInPlaceEditorOwner {
public:
    virtual ~IInPlaceEditorOwner() = default;
    // The title editor lost the focus: its text becomes part of the tray.
    virtual void CommitTitleEdit() = 0;
    // The modifier editor lost the focus: its value becomes part of the tray.
    virtual void CommitModifierEdit() = 0;
    // Enter in an editor: the owner takes the focus back, and the editor commits.
    virtual void Enter() = 0;
    // Escape in an editor: nothing is committed.
    virtual void CancelGesture() = 0;

protected:
    IInPlaceEditorOwner() = default;
    IInPlaceEditorOwner(const IInPlaceEditorOwner&) = default;
    IInPlaceEditorOwner& operator=(const IInPlaceEditorOwner&) = default;
};

} // namespace rp
