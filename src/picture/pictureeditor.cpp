#include "pictureeditor.h"

#include "core/commandids.h"
#include "imaging/dibblock.h"
#include "imaging/imagegeometry.h"

namespace glimmerix
{

PictureEditor::PictureEditor(BlockHandle picture)
    : m_working(picture)
    , m_tool(Command::kPictureSelect)
    , m_previousTool(Command::kPictureSelect)
{
}

PictureEditor::~PictureEditor() = default;

std::optional<Adjustment> PictureEditor::adjustmentOf(int tool)
{
    switch (tool) {
    case Command::kPictureBrightness:
        return Adjustment::Brightness;
    case Command::kPictureContrast:
        return Adjustment::Contrast;
    case Command::kPictureSaturation:
        return Adjustment::Saturation;
    case Command::kPictureSharpness:
        return Adjustment::Sharpness;
    default:
        return std::nullopt;
    }
}

PictureEditor::ToolChoice PictureEditor::chooseTool(int tool)
{
    if (tool == Command::kPictureSharpness) {
        const BITMAPINFOHEADER *header = checkedDibHeader(working());
        if (!header || header->biBitCount != 24)
            return ToolChoice::NeedsTrueColor;
    }
    commit();
    m_previousTool = m_tool;
    m_tool = tool;
    if (const std::optional<Adjustment> chosen = adjustment())
        m_slider = neutralSliderPosition(*chosen);
    return ToolChoice::Chosen;
}

void PictureEditor::moveSlider(int position)
{
    const std::optional<Adjustment> current = adjustment();
    if (!current)
        return;
    m_slider = effectiveSliderPosition(*current, position);
    // The previous preview's memory is filled again when the new one has its shape.
    m_preview.reset(adjustPicture(working(), *current, m_slider, m_preview.release()));
    m_changed = true;
}

void PictureEditor::rotate(double degrees)
{
    m_preview.reset(rotatePicture(working(), degrees));
    m_changed = true;
}

bool PictureEditor::crop(const QRect &selection)
{
    const BITMAPINFOHEADER *header = checkedDibHeader(working());
    if (!header)
        return false;
    const QRect area = selection.normalized() & QRect(0, 0, header->biWidth, header->biHeight);
    if (area.isEmpty())
        return false;
    commit();
    const BlockHandle cut = cropPicture(working(), area);
    if (!isBlockHandle(cut))
        return false;
    replaceWorking(cut);
    m_changed = true;
    return true;
}

void PictureEditor::commit()
{
    if (m_preview)
        replaceWorking(m_preview.release());
}

bool PictureEditor::undo()
{
    const std::optional<Adjustment> current = adjustment();
    m_slider = current ? neutralSliderPosition(*current) : kSliderNeutral;
    if (m_preview) {
        m_preview.reset();
        return true;
    }
    if (!m_undo)
        return false;
    m_working = std::move(m_undo);
    return true;
}

void PictureEditor::replaceWorking(BlockHandle picture)
{
    m_undo = std::move(m_working);
    m_working.reset(picture);
}

} // namespace glimmerix
