#include "panels/advancedsetting.h"

#include "config/filenotices.h"
#include "config/settings.h"
#include "link/protocoladapter.h"
#include "panels/pollwalk.h"

#include <QComboBox>
#include <QDebug>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <iterator>
#include <optional>

namespace {

// Pause between two steps of a run, in milliseconds, as offered by both Sleep boxes.
constexpr int SleepValuesMs[] = {100, 200, 300, 400, 500, 600, 700, 800, 900,
                                 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000};

constexpr int PollInfoSpacing = 20;
constexpr int TimingPairSpacing = 20;
constexpr int TimingButtonSpacing = 40;
constexpr int TimingRowSpacing = 2;

// Route and output texts are the device's own notation, never translated.
constexpr char RouteFormat[] = "%1 ----> %2";
constexpr char AllOutputsText[] = "All";

constexpr char InfoLabelStyle[] =
    "QLabel{color: rgb(255, 15, 15);                               "
    "font-family: 'Microsoft YaHei';                               "
    "font-size: 16px;}";

// One walk for the whole process, shared by every page and every run: a stopped
// run, or a page created anew, picks up where the last step left off instead of
// starting over at Begin.
PollWalk &sharedWalk()
{
    static PollWalk walk;
    return walk;
}

QString routeText(int input, const QString &output)
{
    return QString::fromLatin1(RouteFormat).arg(QString::number(input), output);
}

int boxValue(const QComboBox *box)
{
    return box->currentText().toInt();
}


QPushButton *makeButton(const char *objectName)
{
    auto *button = new QPushButton;
    button->setObjectName(QLatin1String(objectName));
    return button;
}

QLabel *makeInfoLabel(const char *objectName)
{
    auto *label = new QLabel;
    label->setObjectName(QLatin1String(objectName));
    label->setStyleSheet(QString::fromLatin1(InfoLabelStyle));
    return label;
}

// Each box with the label that names it and the setting it is kept in, in the
// order of AdvancedSetting::Box.
struct StoredBox
{
    const char *objectName;
    const char *caption;
    const char *key;
    int (*stored)();
    void (*store)(int);
};

const StoredBox StoredBoxes[] = {
    {"pollInBeginBox", QT_TRANSLATE_NOOP("AdvancedSetting", "Input Begin"), "PollInBegin", getPollInBegin, setPollInBegin},
    {"pollInEndBox", QT_TRANSLATE_NOOP("AdvancedSetting", "Input End"), "PollInEnd", getPollInEnd, setPollInEnd},
    {"pollOutBeginBox", QT_TRANSLATE_NOOP("AdvancedSetting", "Output Begin"), "PollOutStart", getPollOutStart, setPollOutStart},
    {"pollOutEndBox", QT_TRANSLATE_NOOP("AdvancedSetting", "Output End"), "PollOutEnd", getPollOutEnd, setPollOutEnd},
    {"pollSleepBox", QT_TRANSLATE_NOOP("AdvancedSetting", "Sleep"), "PollSleep", getPollSleep, setPollSleep},
    {"timingInBeginBox", QT_TRANSLATE_NOOP("AdvancedSetting", "Input Begin"), "TimingStart", getTimingStart, setTimingStart},
    {"timingInEndBox", QT_TRANSLATE_NOOP("AdvancedSetting", "Input End"), "TimingEnd", getTimingEnd, setTimingEnd},
    {"timingOutBox", QT_TRANSLATE_NOOP("AdvancedSetting", "Output"), "TimingOut", getTimingOut, setTimingOut},
    {"timingSleepBox", QT_TRANSLATE_NOOP("AdvancedSetting", "Sleep"), "TimingSleep", getTimingSleep, setTimingSleep}};

} // namespace

AdvancedSetting::AdvancedSetting(QWidget *parent)
    : QFrame(parent)
{
    static_assert(std::size(StoredBoxes) == BoxCount, "one row per box");
    for (int i = 0; i < BoxCount; ++i) {
        m_labels[i] = new QLabel;
        m_boxes[i] = new QComboBox;
        m_boxes[i]->setObjectName(QLatin1String(StoredBoxes[i].objectName));
        m_boxes[i]->setView(new QListView(m_boxes[i]));
        m_labels[i]->setBuddy(m_boxes[i]);
    }
    initLayout();
    initConnections();
    fillBoxes();
    presetBoxes();
    retranslateUi();
    // Stored as they change, so that a killed program keeps them too.
    for (int i = 0; i < BoxCount; ++i) {
        connect(m_boxes[i], &QComboBox::currentTextChanged, this,
                [store = StoredBoxes[i].store](const QString &text) { store(text.toInt()); });
    }
}

int AdvancedSetting::value(Box box) const
{
    return boxValue(m_boxes[box]);
}

void AdvancedSetting::initLayout()
{
    // Each run mode: its group, its start/stop button and where its routes show.
    m_pollGroup = new QGroupBox;
    m_timingGroup = new QGroupBox;
    m_pollButton = makeButton("pollButton");
    m_timingButton = makeButton("timingButton");
    m_pollInfoLabel = makeInfoLabel("pollInfoLabel");
    m_timingInfoLabel = makeInfoLabel("timingInfoLabel");
    initPollGroup();
    initTimingGroup();

    m_backButton = makeButton("backButton");
    auto *backRow = new QHBoxLayout;
    backRow->addStretch();
    backRow->addWidget(m_backButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pollGroup);
    layout->addWidget(m_timingGroup);
    layout->addLayout(backRow);
}

void AdvancedSetting::initPollGroup()
{
    // Each label stands over its box.
    auto *grid = new QGridLayout;
    for (int column = 0; column <= PollSleep; ++column) {
        grid->addWidget(m_labels[column], 0, column);
        grid->addWidget(m_boxes[column], 1, column);
    }

    auto *row = new QHBoxLayout(m_pollGroup);
    row->addLayout(grid);
    row->addWidget(m_pollButton);
    row->addSpacing(PollInfoSpacing);
    row->addWidget(m_pollInfoLabel);
    row->addStretch();
}

void AdvancedSetting::initTimingGroup()
{
    // Each label stands before its box.
    auto *row = new QHBoxLayout;
    row->setSpacing(TimingRowSpacing);
    for (int i = TimingInBegin; i <= TimingSleep; ++i) {
        if (i != TimingInBegin)
            row->addSpacing(TimingPairSpacing);
        row->addWidget(m_labels[i]);
        row->addWidget(m_boxes[i]);
    }
    row->addSpacing(TimingButtonSpacing);
    row->addWidget(m_timingButton);
    row->addStretch();

    auto *column = new QVBoxLayout(m_timingGroup);
    column->addLayout(row);
    column->addWidget(m_timingInfoLabel);
}

void AdvancedSetting::initConnections()
{
    connect(m_pollButton, &QPushButton::clicked, this, &AdvancedSetting::onClickPoll);
    connect(m_timingButton, &QPushButton::clicked, this, &AdvancedSetting::onClickTiming);
    connect(m_backButton, &QPushButton::clicked, this, &AdvancedSetting::goBack);
    connect(&protocoladapter::instance(), &protocoladapter::linkUpChanged, this, &AdvancedSetting::onLinkUpChanged);
}

void AdvancedSetting::fillBoxes()
{
    const int inputs = getInCount();
    for (int i = 1; i <= inputs; ++i) {
        const QString text = QString::number(i);
        m_boxes[PollInBegin]->addItem(text);
        m_boxes[TimingInBegin]->addItem(text);
        m_boxes[PollInEnd]->addItem(text);
        m_boxes[TimingInEnd]->addItem(text);
    }

    m_boxes[TimingOut]->addItem(QString::fromLatin1(AllOutputsText));
    const int outputs = getOutCount();
    for (int j = 1; j <= outputs; ++j) {
        const QString text = QString::number(j);
        m_boxes[PollOutBegin]->addItem(text);
        m_boxes[PollOutEnd]->addItem(text);
        m_boxes[TimingOut]->addItem(text);
    }

    for (const int ms : SleepValuesMs) {
        m_boxes[PollSleep]->addItem(QString::number(ms));
        m_boxes[TimingSleep]->addItem(QString::number(ms));
    }

    if (inputs < 1 || outputs < 1)
        qDebug() << "AdvancedSetting: no channels to walk, inputs" << inputs << "outputs" << outputs;
}

// No matching item (absent key, a channel beyond the current count, "All"
// stored as 0) leaves the box on its first item; a stored value it does not
// offer says so. What a box then shows is kept at once, unless the file holds
// just that already: a session the operator changes nothing in writes nothing.
void AdvancedSetting::presetBoxes()
{
    for (int i = 0; i < BoxCount; ++i) {
        const StoredBox &stored = StoredBoxes[i];
        QComboBox *box = m_boxes[i];
        const int value = stored.stored();
        const int index = box->findText(QString::number(value));
        if (index >= 0) {
            box->setCurrentIndex(index);
        } else if (value != 0) {
            FileNotices::instance().report(
                QT_TRANSLATE_NOOP("FileNotices", "%1 holds %2=%3, which is not among its choices: %4 is used"),
                {QStringLiteral("UserData.ini"), QLatin1String(stored.key), QString::number(value), box->itemText(0)});
        }
        if (getUserDataText(QLatin1String(stored.key)) != QString::number(boxValue(box)))
            stored.store(boxValue(box));
    }
}

void AdvancedSetting::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}

// The run buttons and info labels go back to their idle texts even during a
// run; the running mode's button still ends it on the next click. Each box is
// named after the label above or beside it, so that a screen reader says which
// bound it sets rather than the group's title.
void AdvancedSetting::retranslateUi()
{
    m_pollGroup->setTitle(tr("Poll Setting"));
    m_timingGroup->setTitle(tr("Timing Switch"));
    for (int i = 0; i < BoxCount; ++i) {
        m_labels[i]->setText(tr(StoredBoxes[i].caption));
        m_boxes[i]->setAccessibleName(m_labels[i]->text());
    }
    m_backButton->setText(tr("Back"));
    m_pollButton->setText(tr("Start Poll"));
    m_timingButton->setText(tr("Start Timing"));
    m_pollInfoLabel->setText(tr("Poll Info"));
    m_timingInfoLabel->setText(tr("Switch Info"));
    m_startPollText = tr("Start Poll");
    m_startTimingText = tr("Start Timing");
    m_stopPollText = tr("Stop Poll");
    m_stopTimingText = tr("Stop Timing");
}

void AdvancedSetting::onClickPoll()
{
    toggleRun(PollMode);
}

void AdvancedSetting::onClickTiming()
{
    toggleRun(TimingMode);
}

void AdvancedSetting::toggleRun(RunMode mode)
{
    if (m_switchTimer) {
        stopRun();
        if (m_runMode == mode)
            return;
    }
    startRun(mode);
}

// Without a link the page would show routes that never go out.
void AdvancedSetting::startRun(RunMode mode)
{
    const bool poll = mode == PollMode;
    if (!protocoladapter::instance().isConnected()) {
        emit notice(poll ? tr("Poll not started: no link is open") : tr("Timing not started: no link is open"));
        return;
    }
    m_switchTimer = new QTimer(this);
    // A coarse timer may fire early; the operator's Sleep is a minimum pause.
    m_switchTimer->setTimerType(Qt::PreciseTimer);
    m_switchTimer->setInterval(value(poll ? PollSleep : TimingSleep));
    if (poll) {
        connect(m_switchTimer, &QTimer::timeout, this, &AdvancedSetting::pollStep);
        m_pollButton->setText(m_stopPollText);
    } else {
        connect(m_switchTimer, &QTimer::timeout, this, &AdvancedSetting::timingStep);
        m_timingButton->setText(m_stopTimingText);
    }
    m_switchTimer->start();
    m_runMode = mode;
}

void AdvancedSetting::stopRun()
{
    m_switchTimer->stop();
    delete m_switchTimer;
    m_switchTimer = nullptr;
    m_pollButton->setText(m_startPollText);
    m_timingButton->setText(m_startTimingText);
    m_timingInfoLabel->setText(tr("Switch Info"));
    m_pollInfoLabel->setText(tr("Poll Info"));
}

// While one link remains the run goes on over it; only the last one ends it.
void AdvancedSetting::onLinkUpChanged(bool up)
{
    if (up || !m_switchTimer)
        return;
    const bool poll = m_runMode == PollMode;
    stopRun();
    emit notice(poll ? tr("Poll stopped: no link is left") : tr("Timing stopped: no link is left"));
}

// Bounds are read anew on every tick.
void AdvancedSetting::pollStep()
{
    const std::optional<PollWalk::Route> route =
        sharedWalk().pollStep(value(PollInBegin), value(PollInEnd), value(PollOutBegin), value(PollOutEnd));
    if (!route)
        return;
    m_pollInfoLabel->setText(routeText(route->input, QString::number(route->output)));
    protocoladapter::instance().sendSwitch(route->input, route->output);
}

// "All", the Output box's first item, reads as 0: the walk's AllOutputs.
void AdvancedSetting::timingStep()
{
    const std::optional<PollWalk::Route> route = sharedWalk().timingStep(
        value(TimingInBegin), value(TimingInEnd), value(TimingOut));
    if (!route)
        return;
    if (route->output == PollWalk::AllOutputs) {
        m_timingInfoLabel->setText(routeText(route->input, QString::fromLatin1(AllOutputsText)));
        protocoladapter::instance().sendSwitchToAll(route->input);
    } else {
        m_timingInfoLabel->setText(routeText(route->input, QString::number(route->output)));
        protocoladapter::instance().sendSwitch(route->input, route->output);
    }
}
