#include "deferredhost.h"

namespace glimmerix
{

std::unique_ptr<Progress> DeferredHost::createProgress()
{
    return std::make_unique<SilentProgress>();
}

void DeferredHost::replay(Host &target)
{
    const QList<Box> boxes = std::exchange(m_boxes, {});
    for (const Box &box : boxes)
        target.showText(box.text, box.icon, box.buttons, box.messageId, box.look);
}

MessageAnswer DeferredHost::showBox(const QString &text, MessageIcon icon, MessageButtons buttons,
    int messageId, const MessageBoxLook &look)
{
    m_boxes.append({ text, icon, buttons, messageId, look });
    return defaultAnswer(buttons, look);
}

} // namespace glimmerix
