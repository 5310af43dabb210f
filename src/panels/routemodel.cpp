#include "panels/routemodel.h"

#include "config/aliasstore.h"
#include "link/routetracker.h"

namespace {

// Stands in every cell of an output whose input is not known.
const QString UnknownMark = QStringLiteral("?");

} // namespace

RouteModel::RouteModel(const RouteTracker *tracker, const AliasStore *aliases, QObject *parent)
    : QAbstractTableModel(parent)
    , m_tracker(tracker)
    , m_aliases(aliases)
{
    connect(tracker, &RouteTracker::changed, this, &RouteModel::refresh);
}

int RouteModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_tracker->state().outputs();
}

int RouteModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_tracker->state().inputs();
}

QString RouteModel::inputName(int column) const
{
    return m_aliases ? m_aliases->inputAlias(column) : tr("Input %1").arg(column + 1);
}

QString RouteModel::outputName(int row) const
{
    return m_aliases ? m_aliases->outputAlias(row) : tr("Output %1").arg(row + 1);
}

QVariant RouteModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const int carried = m_tracker->state().inputOf(index.row() + 1);
    const bool here = carried == index.column() + 1;
    switch (role) {
    case Qt::CheckStateRole:
        return carried == 0 ? QVariant() : QVariant(here ? Qt::Checked : Qt::Unchecked);
    case Qt::DisplayRole:
        return carried == 0 ? UnknownMark : QString();
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole: {
        const QString state = carried == 0 ? tr("not known") : here ? tr("routed") : tr("not routed");
        return tr("%1 from %2: %3").arg(outputName(index.row()), inputName(index.column()), state);
    }
    default:
        return QVariant();
    }
}

QVariant RouteModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const bool inputs = orientation == Qt::Horizontal;
    const QString name = inputs ? inputName(section) : outputName(section);
    switch (role) {
    case Qt::DisplayRole:
        // Columns are narrow: the number on top, the name below it, cut short.
        return inputs ? QStringLiteral("%1\n%2").arg(section + 1).arg(name) : QStringLiteral("%1  %2").arg(section + 1).arg(name);
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
        if (!inputs && m_tracker->state().inputOf(section + 1) == 0)
            return tr("%1 (%2): not routed from here, not known").arg(name).arg(section + 1);
        return QStringLiteral("%1 (%2)").arg(name).arg(section + 1);
    default:
        return QVariant();
    }
}

Qt::ItemFlags RouteModel::flags(const QModelIndex &index) const
{
    // Not user-checkable: a click routes, it does not toggle a tick.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void RouteModel::refresh()
{
    if (rowCount() == 0 || columnCount() == 0)
        return;
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

void RouteModel::refreshHeaders()
{
    if (rowCount() > 0)
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}
