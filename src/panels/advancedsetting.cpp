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
#include <utility>

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


QComboBox *makeBox(const char *objectName)
{
    auto *box = new QComboBox;
    box->setObjectName(QLatin1String(objectName));
    box->setView(new QListView(box));
    return box;
}

QLabel *makeInfoLabel(const QString &text)
{
    auto *label = new QLabel(text);
    label->setStyleSheet(QString::fromLatin1(InfoLabelStyle));
    return label;
}

} // namespace

// A box whose choice is kept in "UserData.ini" under key.
struct AdvancedSetting::StoredBox
{
    QComboBox *box;
    const char *key;
    int (*stored)();
    void (*store)(int);
};

AdvancedSetting::AdvancedSetting(QWidget *parent)
    : QFrame(parent)
{
    initLayout();
    initConnections();
    fillBoxes();
    presetBoxes();
    keepCaptions();
    nameBoxes();
    // Stored as they change, so that a killed program keeps them too.
    for (const StoredBox &stored : storedBoxes()) {
        connect(stored.box, &QComboBox::currentTextChanged, this,
                [store = stored.store](const QString &text) { store(text.toInt()); });
    }
}

// A run still going is simply dropped with the page: its timer is one of our children.
AdvancedSetting::~AdvancedSetting()
{
    for (const StoredBox &stored : storedBoxes())
        stored.store(boxValue(stored.box));
}

QVector<AdvancedSetting::StoredBox> AdvancedSetting::storedBoxes() const
{
    return {{m_pollInBeginBox, "PollInBegin", getPollInBegin, setPollInBegin},
            {m_pollInEndBox, "PollInEnd", getPollInEnd, setPollInEnd},
            {m_pollOutBeginBox, "PollOutStart", getPollOutStart, setPollOutStart},
            {m_pollOutEndBox, "PollOutEnd", getPollOutEnd, setPollOutEnd},
            {m_pollSleepBox, "PollSleep", getPollSleep, setPollSleep},
            {m_timingInBeginBox, "TimingStart", getTimingStart, setTimingStart},
            {m_timingInEndBox, "TimingEnd", getTimingEnd, setTimingEnd},
            {m_timingOutBox, "TimingOut", getTimingOut, setTimingOut},
            {m_timingSleepBox, "TimingSleep", getTimingSleep, setTimingSleep}};
}

void AdvancedSetting::initLayout()
{
    initPollGroup();
    initTimingGroup();

    m_backButton = new QPushButton(tr("Back"));
    m_backButton->setObjectName(QStringLiteral("backButton"));
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
    m_pollGroup = new QGroupBox(tr("Poll Setting"));
    m_pollInBeginLabel = new QLabel(tr("Input Begin"));
    m_pollInEndLabel = new QLabel(tr("Input End"));
    m_pollOutBeginLabel = new QLabel(tr("Output Begin"));
    m_pollOutEndLabel = new QLabel(tr("Output End"));
    m_pollSleepLabel = new QLabel(tr("Sleep"));
    m_pollInBeginBox = makeBox("pollInBeginBox");
    m_pollInEndBox = makeBox("pollInEndBox");
    m_pollOutBeginBox = makeBox("pollOutBeginBox");
    m_pollOutEndBox = makeBox("pollOutEndBox");
    m_pollSleepBox = makeBox("pollSleepBox");
    m_pollButton = new QPushButton(tr("Start Poll"));
    m_pollButton->setObjectName(QStringLiteral("pollButton"));
    m_pollInfoLabel = makeInfoLabel(tr("Poll Info"));
    m_pollInfoLabel->setObjectName(QStringLiteral("pollInfoLabel"));

    // Each label stands over its box.
    auto *grid = new QGridLayout;
    QWidget *const labels[] = {m_pollInBeginLabel, m_pollInEndLabel, m_pollOutBeginLabel,
                               m_pollOutEndLabel, m_pollSleepLabel};
    QWidget *const boxes[] = {m_pollInBeginBox, m_pollInEndBox, m_pollOutBeginBox,
                              m_pollOutEndBox, m_pollSleepBox};
    for (int column = 0; column < int(std::size(labels)); ++column) {
        grid->addWidget(labels[column], 0, column);
        grid->addWidget(boxes[column], 1, column);
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
    m_timingGroup = new QGroupBox(tr("Timing Switch"));
    m_timingInBeginLabel = new QLabel(tr("Input Begin"));
    m_timingInEndLabel = new QLabel(tr("Input End"));
    m_timingOutLabel = new QLabel(tr("Output"));
    m_timingSleepLabel = new QLabel(tr("Sleep"));
    m_timingInBeginBox = makeBox("timingInBeginBox");
    m_timingInEndBox = makeBox("timingInEndBox");
    m_timingOutBox = makeBox("timingOutBox");
    m_timingSleepBox = makeBox("timingSleepBox");
    m_timingButton = new QPushButton(tr("Start Timing"));
    m_timingButton->setObjectName(QStringLiteral("timingButton"));
    m_timingInfoLabel = makeInfoLabel(tr("Switch Info"));
    m_timingInfoLabel->setObjectName(QStringLiteral("timingInfoLabel"));

    auto *row = new QHBoxLayout;
    row->setSpacing(TimingRowSpacing);
    row->addWidget(m_timingInBeginLabel);
    row->addWidget(m_timingInBeginBox);
    row->addSpacing(TimingPairSpacing);
    row->addWidget(m_timingInEndLabel);
    row->addWidget(m_timingInEndBox);
    row->addSpacing(TimingPairSpacing);
    row->addWidget(m_timingOutLabel);
    row->addWidget(m_timingOutBox);
    row->addSpacing(TimingPairSpacing);
    row->addWidget(m_timingSleepLabel);
    row->addWidget(m_timingSleepBox);
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
        m_pollInBeginBox->addItem(text);
        m_timingInBeginBox->addItem(text);
        m_pollInEndBox->addItem(text);
        m_timingInEndBox->addItem(text);
    }

    m_timingOutBox->addItem(QString::fromLatin1(AllOutputsText));
    const int outputs = getOutCount();
    for (int j = 1; j <= outputs; ++j) {
        const QString text = QString::number(j);
        m_pollOutBeginBox->addItem(text);
        m_pollOutEndBox->addItem(text);
        m_timingOutBox->addItem(text);
    }

    for (const int ms : SleepValuesMs) {
        m_pollSleepBox->addItem(QString::number(ms));
        m_timingSleepBox->addItem(QString::number(ms));
    }

    if (inputs < 1 || outputs < 1)
        qDebug() << "AdvancedSetting: no channels to walk, inputs" << inputs << "outputs" << outputs;
}

// No matching item (absent key, a channel beyond the current count, "All"
// stored as 0) leaves the box on its first item; a stored value it does not
// offer says so.
void AdvancedSetting::presetBoxes()
{
    for (const StoredBox &stored : storedBoxes()) {
        const int value = stored.stored();
        const int index = stored.box->findText(QString::number(value));
        if (index >= 0) {
            stored.box->setCurrentIndex(index);
        } else if (value != 0) {
            FileNotices::instance().report(
                QT_TRANSLATE_NOOP("FileNotices", "%1 holds %2=%3, which is not among its choices: %4 is used"),
                {QStringLiteral("UserData.ini"), QLatin1String(stored.key), QString::number(value), stored.box->itemText(0)});
        }
    }
}

void AdvancedSetting::keepCaptions()
{
    m_startPollText = tr("Start Poll");
    m_startTimingText = tr("Start Timing");
    m_stopPollText = tr("Stop Poll");
    m_stopTimingText = tr("Stop Timing");
}

void AdvancedSetting::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}

// The run buttons and info labels go back to their idle texts even during a
// run; the running mode's button still ends it on the next click.
void AdvancedSetting::retranslateUi()
{
    m_pollGroup->setTitle(tr("Poll Setting"));
    m_pollInBeginLabel->setText(tr("Input Begin"));
    m_pollInEndLabel->setText(tr("Input End"));
    m_pollOutBeginLabel->setText(tr("Output Begin"));
    m_pollOutEndLabel->setText(tr("Output End"));
    m_pollSleepLabel->setText(tr("Sleep"));
    m_timingGroup->setTitle(tr("Timing Switch"));
    m_timingInBeginLabel->setText(tr("Input Begin"));
    m_timingInEndLabel->setText(tr("Input End"));
    m_timingOutLabel->setText(tr("Output"));
    m_timingSleepLabel->setText(tr("Sleep"));
    m_backButton->setText(tr("Back"));
    m_pollButton->setText(tr("Start Poll"));
    m_timingButton->setText(tr("Start Timing"));
    m_pollInfoLabel->setText(tr("Poll Info"));
    m_timingInfoLabel->setText(tr("Switch Info"));
    keepCaptions();
    nameBoxes();
}

// Each box is named after the label above or beside it, so that a screen reader
// says which bound it sets rather than the group's title.
void AdvancedSetting::nameBoxes()
{
    const std::pair<QLabel *, QComboBox *> pairs[] = {
        {m_pollInBeginLabel, m_pollInBeginBox},     {m_pollInEndLabel, m_pollInEndBox},
        {m_pollOutBeginLabel, m_pollOutBeginBox},   {m_pollOutEndLabel, m_pollOutEndBox},
        {m_pollSleepLabel, m_pollSleepBox},         {m_timingInBeginLabel, m_timingInBeginBox},
        {m_timingInEndLabel, m_timingInEndBox},     {m_timingOutLabel, m_timingOutBox},
        {m_timingSleepLabel, m_timingSleepBox}};
    for (const auto &[label, box] : pairs) {
        label->setBuddy(box);
        box->setAccessibleName(label->text());
    }
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
    m_switchTimer->setInterval(boxValue(poll ? m_pollSleepBox : m_timingSleepBox));
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
        sharedWalk().pollStep(boxValue(m_pollInBeginBox), boxValue(m_pollInEndBox),
                              boxValue(m_pollOutBeginBox), boxValue(m_pollOutEndBox));
    if (!route)
        return;
    m_pollInfoLabel->setText(routeText(route->input, QString::number(route->output)));
    protocoladapter::instance().sendSwitch(route->input, route->output);
}

// "All", the Output box's first item, reads as 0: the walk's AllOutputs.
void AdvancedSetting::timingStep()
{
    const std::optional<PollWalk::Route> route = sharedWalk().timingStep(
        boxValue(m_timingInBeginBox), boxValue(m_timingInEndBox), boxValue(m_timingOutBox));
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
