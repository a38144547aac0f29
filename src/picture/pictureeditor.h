#pragma once

#include "imaging/blockmemory.h"
#include "imaging/pictureadjust.h"

#include <QRect>

#include <optional>

namespace glimmerix
{

// What the picture window edits, without the window: the working picture the tools read, the
// preview the current adjustment made from it, the picture kept for Undo, the current tool (a
// tool command number), the slider and the changed flag. The window shows preview() when there
// is one, else working().
//
// Choosing another tool commits a pending preview (it becomes the working picture and the old
// working picture is kept for Undo); so does a crop. Undo with a preview pending drops the
// preview; otherwise it brings back the kept picture. One level of Undo.
class PictureEditor
{
public:
    // Takes over `picture`.
    explicit PictureEditor(BlockHandle picture);
    ~PictureEditor();
    PictureEditor(const PictureEditor &) = delete;
    PictureEditor &operator=(const PictureEditor &) = delete;

    BlockHandle working() const { return m_working.handle(); }
    BlockHandle preview() const { return m_preview.handle(); }
    BlockHandle shown() const { return m_preview ? m_preview.handle() : m_working.handle(); }
    bool canUndo() const { return m_preview || m_undo; }
    bool changed() const { return m_changed; }
    int tool() const { return m_tool; }
    int previousTool() const { return m_previousTool; }
    int sliderPosition() const { return m_slider; }
    // The adjustment of the current tool, none for the select and rotate tools.
    std::optional<Adjustment> adjustment() const { return adjustmentOf(m_tool); }
    static std::optional<Adjustment> adjustmentOf(int tool);

    enum class ToolChoice { Chosen, NeedsTrueColor };
    // Makes `tool` current, committing a pending preview first. Sharpness on a picture that is
    // not 24-bit is refused (NeedsTrueColor) and nothing changes. The slider goes to the new
    // adjustment's neutral position.
    ToolChoice chooseTool(int tool);
    // Recomputes the preview for the current adjustment at slider `position` and sets the
    // changed flag. A neutral position, or a picture the adjustment cannot handle, leaves no
    // preview.
    void moveSlider(int position);
    // Rotation tool: the preview is the working picture turned clockwise by `degrees`.
    void rotate(double degrees);
    // Cuts the working picture to `selection` limited to the picture; false when nothing of it
    // lies on the picture or memory runs out.
    bool crop(const QRect &selection);
    // Makes a pending preview the working picture; the old working picture is kept for Undo.
    void commit();
    // Drops a pending preview, or else brings back the picture kept before the last change.
    // The slider returns to its neutral position. False when there was nothing to undo.
    bool undo();
    // What is shown was written to a file: the changed flag clears until the next change.
    void markSaved() { m_changed = false; }

private:
    void replaceWorking(BlockHandle picture);

    OwnedBlock m_working;
    OwnedBlock m_preview;
    OwnedBlock m_undo;
    int m_tool;
    int m_previousTool;
    int m_slider = kSliderNeutral;
    bool m_changed = false;
};

} // namespace glimmerix
