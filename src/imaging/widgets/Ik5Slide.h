#pragma once

#include <functional>
#include <memory>

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QString>
#include <QStringList>

#include "imaging/core/SlideSchedule.h"

class QTimer;

namespace imaging {

// The suite's slideshow: the image files of one folder shown one after
// another, fitted into the control and centred, never enlarged. The timing
// and order are a SlideSchedule's; this control decodes each slide at its
// own size on a worker thread, has the next one decoded before it is due
// and shows what the schedule says. A file that cannot be read shows a
// "cannot show" card for its interval and the show goes on; a pass in which
// no slide could be shown ends the show (a folder removed while repeating).
//
// Dispatch ids of the members, for comparison with the callers:
//   [22] setFolder   [24] interval/setInterval (seconds)   [20] setMode
//   [25] setRepeat   [1] prepare()   [3] start()   [4] pause()   [2] end()
//   [29] setDirection (1 back, 2 forward)   [5] next()   [6] previous()
//   [7] first()   [8] last()
// Events: [10] slideShown(n, folder, name), n counted from 1.
class Ik5Slide : public QFrame
{
    Q_OBJECT

public:
    static constexpr qint32 kInitialInterval = 3;

    explicit Ik5Slide(QWidget *parent = nullptr);
    ~Ik5Slide() override;

    void setFolder(const QString &folder) { m_folder = folder; }
    [[nodiscard]] QString folder() const { return m_folder; }
    [[nodiscard]] qint32 interval() const { return m_schedule.intervalSeconds(); }
    void setInterval(qint32 seconds);
    void setMode(int mode) { m_mode = mode; }
    void setRepeat(bool repeat) { m_schedule.setRepeat(repeat); }
    void prepare();
    void start();
    void pause();
    void end();
    // The direction the next step buttons take; it does not turn the show
    // itself round.
    void setDirection(int direction) { m_direction = direction; }
    [[nodiscard]] int direction() const { return m_direction; }
    void next();
    void previous();
    void first();
    void last();

    [[nodiscard]] QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor &color);

    // Milliseconds on a clock that never goes back; tests pass their own and
    // call tick() themselves.
    using Clock = std::function<qint64()>;
    void setClock(Clock clock);
    // Shows what is due now and arms the timer for the next slide.
    void tick();
    // Waits until the slide asked for last is decoded and shown (tests, and
    // callers that must have it before they go on).
    void waitUntilShown();

    [[nodiscard]] bool isPlaying() const { return m_schedule.isPlaying(); }
    [[nodiscard]] int slideCount() const { return int(m_files.size()); }
    // The slide shown now (0-based; -1 for none), its picture (null for the
    // "cannot show" card) and whether the card is up.
    [[nodiscard]] int shownSlide() const { return m_shown; }
    [[nodiscard]] QImage shownPicture() const { return m_picture; }
    [[nodiscard]] bool showingCard() const { return m_shown >= 0 && m_picture.isNull(); }

signals:
    void slideShown(int n, const QString &folder, const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    class Loader;

    [[nodiscard]] QSize box() const;
    [[nodiscard]] QString pathOf(int slide) const;
    void stepTo(SlideSchedule::Step step);
    void want(std::optional<int> slide);
    void collect();
    void armTimer();

    QString m_folder;
    QString m_listedFolder;
    QStringList m_files;
    int m_mode = 1;
    int m_direction = 2;
    SlideSchedule m_schedule;
    Clock m_clock;
    QTimer *m_timer;
    QTimer *m_poll; // while a wanted slide is being decoded
    std::unique_ptr<Loader> m_loader;
    int m_wanted = -1;
    int m_shown = -1;
    QImage m_picture;
    QString m_cardText;
    int m_failuresInARow = 0;
    QColor m_backColor{0, 0, 0};
};

} // namespace imaging
