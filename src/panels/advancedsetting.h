#pragma once

#include <QFrame>
#include <QVector>
#include <QString>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

// Poll and timing switching page, shown in place of the switcher's channel groups.
// It steps the matrix through a range of routes, one command per tick of its one
// timer; poll and timing share that timer and never run together.
class AdvancedSetting : public QFrame
{
    Q_OBJECT

public:
    explicit AdvancedSetting(QWidget *parent = nullptr);
    ~AdvancedSetting() override;

signals:
    void goBack();
    // Why a run stopped or did not start, for the console.
    void notice(const QString &text);

private slots:
    void onClickPoll();
    void onClickTiming();

protected:
    void changeEvent(QEvent *event) override;

private:
    struct StoredBox;
    QVector<StoredBox> storedBoxes() const;
    enum RunMode { PollMode = 0, TimingMode = 1 };

    void initLayout();
    void initPollGroup();
    void initTimingGroup();
    void initConnections();
    void fillBoxes();
    void presetBoxes();
    void retranslateUi();
    void keepCaptions();
    void nameBoxes();

    // A click on a run button: ends whatever runs, then starts the clicked
    // mode unless that mode was the one running.
    void toggleRun(RunMode mode);
    void startRun(RunMode mode);
    void stopRun();
    // No link is left to carry the run's commands.
    void onLinkUpChanged(bool up);
    void pollStep();
    void timingStep();

    QGroupBox *m_pollGroup = nullptr;
    QLabel *m_pollInBeginLabel = nullptr;
    QLabel *m_pollInEndLabel = nullptr;
    QLabel *m_pollOutBeginLabel = nullptr;
    QLabel *m_pollOutEndLabel = nullptr;
    QLabel *m_pollSleepLabel = nullptr;
    QComboBox *m_pollInBeginBox = nullptr;
    QComboBox *m_pollInEndBox = nullptr;
    QComboBox *m_pollOutBeginBox = nullptr;
    QComboBox *m_pollOutEndBox = nullptr;
    QComboBox *m_pollSleepBox = nullptr;
    QPushButton *m_pollButton = nullptr;
    QLabel *m_pollInfoLabel = nullptr;

    QGroupBox *m_timingGroup = nullptr;
    QLabel *m_timingInBeginLabel = nullptr;
    QLabel *m_timingInEndLabel = nullptr;
    QLabel *m_timingOutLabel = nullptr;
    QLabel *m_timingSleepLabel = nullptr;
    QComboBox *m_timingInBeginBox = nullptr;
    QComboBox *m_timingInEndBox = nullptr;
    QComboBox *m_timingOutBox = nullptr;
    QComboBox *m_timingSleepBox = nullptr;
    QPushButton *m_timingButton = nullptr;
    QLabel *m_timingInfoLabel = nullptr;

    QPushButton *m_backButton = nullptr;

    QTimer *m_switchTimer = nullptr;
    RunMode m_runMode = PollMode;

    QString m_startPollText;
    QString m_startTimingText;
    QString m_stopPollText;
    QString m_stopTimingText;
};
