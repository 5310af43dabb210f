#include "panels/croutingdialog.h"

#include "link/protocoladapter.h"
#include "panels/routemodel.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Room for a two-digit number and the start of a name; a name in full is in the tool tip.
constexpr int CellWidth = 40;
constexpr int DialogWidth = 820;
constexpr int DialogHeight = 600;

} // namespace

CRoutingDialog::CRoutingDialog(const RouteTracker *tracker, const AliasStore *aliases, QWidget *parent)
    : QDialog(parent)
    , m_model(new RouteModel(tracker, aliases, this))
    , m_note(new QLabel)
    , m_view(new QTableView)
{
    setObjectName(QStringLiteral("routingDialog"));
    m_note->setObjectName(QStringLiteral("routingNote"));
    m_note->setWordWrap(true);
    m_view->setObjectName(QStringLiteral("routingView"));
    m_view->setModel(m_model);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->horizontalHeader()->setDefaultSectionSize(CellWidth);
    m_view->horizontalHeader()->setTextElideMode(Qt::ElideRight);
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->setTabKeyNavigation(false);
    m_view->installEventFilter(this);
    connect(m_view, &QAbstractItemView::clicked, this, &CRoutingDialog::route);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_note);
    layout->addWidget(m_view, 1);
    resize(DialogWidth, DialogHeight);
    retranslateUi();
}

void CRoutingDialog::route(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    protocoladapter &adapter = protocoladapter::instance();
    const int input = index.column() + 1;
    const int output = index.row() + 1;
    if (!adapter.isConnected()) {
        emit notice(tr("%1 to %2 not sent: no link is open").arg(input).arg(output));
        return;
    }
    adapter.sendSwitchMulti(input, {QString::number(output)});
}

bool CRoutingDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Select) {
            route(m_view->currentIndex());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Names may have changed while the view was closed.
void CRoutingDialog::showEvent(QShowEvent *event)
{
    m_model->refreshHeaders();
    if (!m_view->currentIndex().isValid() && m_model->rowCount() > 0 && m_model->columnCount() > 0)
        m_view->setCurrentIndex(m_model->index(0, 0));
    m_view->setFocus();
    QDialog::showEvent(event);
}

void CRoutingDialog::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}

void CRoutingDialog::retranslateUi()
{
    setWindowTitle(tr("Routing"));
    m_note->setText(tr("The routes sent from this program: the matrix cannot be asked what it carries. "
                       "Rows are outputs, columns inputs; \"?\" marks an output never routed from here. "
                       "Click a cell or press Space to route that input to that output."));
    m_view->setAccessibleName(tr("Routing: outputs by inputs"));
    m_model->refreshHeaders();
}
