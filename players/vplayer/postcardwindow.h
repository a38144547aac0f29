#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

class QMediaPlayer;

namespace glimmerix
{

struct PostcardContent;

// The postcard as a recipient sees it: the frame picture with the clip playing in its window on
// the left, the card with its message on the right. Space pauses and resumes, Escape closes.
class PostcardWindow final : public QWidget
{
    Q_OBJECT
public:
    // `clipPath` empty: the window stays black where the clip would play.
    PostcardWindow(
        const PostcardContent &content, const QString &clipPath, QWidget *parent = nullptr);

    QSize sizeHint() const override;

signals:
    // The first picture of the clip has been drawn, or the clip cannot be played (`played`
    // false; `problem` says why).
    void clipStarted(bool played, const QString &problem);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QRect frameArea() const;
    QRect cardArea() const;

    QImage m_frame;
    QImage m_card;
    QRect m_window;
    QImage m_clipPicture;
    QString m_problem;
    QMediaPlayer *m_player = nullptr;
    bool m_started = false;
};

} // namespace glimmerix
