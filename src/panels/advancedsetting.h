#pragma once

#include <QFrame>
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
    // The nine boxes, each kept in "UserData.ini": the rows of the table in the .cpp.
    enum Box { PollInBegin, PollInEnd, PollOutBegin, PollOutEnd, PollSleep,
               TimingInBegin, TimingInEnd, TimingOut, TimingSleep, BoxCount };
    enum RunMode { PollMode = 0, TimingMode = 1 };

    void initLayout();
    void initPollGroup();
    void initTimingGroup();
    void initConnections();
    void fillBoxes();
    void presetBoxes();
    void retranslateUi();

    // A click on a run button: ends whatever runs, then starts the clicked
    // mode unless that mode was the one running.
    void toggleRun(RunMode mode);
    void startRun(RunMode mode);
    void stopRun();
    // No link is left to carry the run's commands.
    void onLinkUpChanged(bool up);
    void pollStep();
    void timingStep();
    int value(Box box) const;

    QComboBox *m_boxes[BoxCount] = {};
    QLabel *m_labels[BoxCount] = {};
    QGroupBox *m_pollGroup = nullptr;
    QGroupBox *m_timingGroup = nullptr;
    QPushButton *m_pollButton = nullptr;
    QPushButton *m_timingButton = nullptr;
    // Each shows its mode's last route.
    QLabel *m_pollInfoLabel = nullptr;
    QLabel *m_timingInfoLabel = nullptr;
    QPushButton *m_backButton = nullptr;

    // Runs the mode in m_runMode; none while nothing runs.
    QTimer *m_switchTimer = nullptr;
    RunMode m_runMode = PollMode;

    QString m_startPollText;
    QString m_startTimingText;
    QString m_stopPollText;
    QString m_stopTimingText;
};
