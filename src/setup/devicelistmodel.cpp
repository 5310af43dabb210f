#include "setup/devicelistmodel.h"

#include "config/devicestore.h"

#include <QDebug>

#include <utility>

namespace {

// The entry's text that a column of the table shows.
template <class Entry> auto &text(Entry &entry, int column)
{
    return column == DeviceListModel::IpColumn ? entry.ip : column == DeviceListModel::PortColumn ? entry.port : entry.alias;
}

} // namespace

DeviceListModel::DeviceListModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_store(std::make_unique<DeviceStore>())
    , m_devices(m_store->entries())
    , m_ticks(m_devices.size(), false)
{
}

DeviceListModel::~DeviceListModel()
{
    store();
}

int DeviceListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_devices.size();
}

int DeviceListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DeviceListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const int row = index.row();
    if (index.column() == TickColumn) {
        // The tick column shows no text, so screen readers get words for its cells.
        if (role == Qt::AccessibleTextRole)
            return m_ticks.at(row) ? tr("Ticked") : tr("Not ticked");
        return role == Qt::DisplayRole || role == Qt::EditRole ? QVariant(m_ticks.at(row)) : QVariant();
    }
    return role == Qt::DisplayRole || role == Qt::EditRole ? QVariant(text(m_devices.at(row), index.column())) : QVariant();
}

bool DeviceListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    const int row = index.row();
    if (index.column() == TickColumn) {
        m_ticks[row] = value.toBool();
        ticksChanged(row, row);
        return true;
    }
    DeviceEntry entry = m_devices.at(row);
    text(entry, index.column()) = value.toString();
    setDevice(row, entry);
    return true;
}

Qt::ItemFlags DeviceListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QVariant DeviceListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::AccessibleTextRole)
        return section == TickColumn ? tr("Tick") : QVariant();
    // Plain header texts: these stay as they are in every language.
    static const QStringList titles = {QString(), QStringLiteral("IP"), QStringLiteral("Port"), QStringLiteral("Alais")};
    return role == Qt::DisplayRole || role == Qt::EditRole ? QVariant(titles.at(section)) : QVariant();
}

QList<DeviceEntry> DeviceListModel::devices() const
{
    return m_devices;
}

DeviceEntry DeviceListModel::device(int row) const
{
    return m_devices.at(row);
}

QList<int> DeviceListModel::tickedRows() const
{
    QList<int> rows;
    for (int row = 0; row < m_ticks.size(); ++row) {
        if (m_ticks.at(row))
            rows.append(row);
    }
    return rows;
}

void DeviceListModel::setDevice(int row, const DeviceEntry &entry)
{
    qDebug() << "vvvvv" << entry.ip;
    m_devices[row] = entry;
    emit dataChanged(index(row, IpColumn), index(row, AliasColumn), {Qt::DisplayRole, Qt::EditRole});
    store();
}

void DeviceListModel::appendDevice(const DeviceEntry &entry)
{
    const int row = m_devices.size();
    beginInsertRows(QModelIndex(), row, row);
    m_devices.append(entry);
    m_ticks.append(false);
    endInsertRows();
    store();
}

// The list is laid out anew, as it always was after a delete: no row is
// current or ticked, so the operator picks anew the one to connect to.
void DeviceListModel::removeDevice(int row)
{
    beginResetModel();
    m_devices.removeAt(row);
    m_ticks.removeAt(row);
    m_ticks.fill(false);
    endResetModel();
    store();
}

void DeviceListModel::swapDevices(int row, int other)
{
    std::swap(m_devices[row], m_devices[other]);
    std::swap(m_ticks[row], m_ticks[other]);
    emit dataChanged(index(qMin(row, other), TickColumn), index(qMax(row, other), AliasColumn),
                     {Qt::DisplayRole, Qt::EditRole, Qt::AccessibleTextRole});
    store();
}

void DeviceListModel::clear()
{
    beginResetModel();
    m_devices.clear();
    m_ticks.clear();
    endResetModel();
    store();
}

void DeviceListModel::tickAll()
{
    m_ticks.fill(true);
    ticksChanged(0, m_ticks.size() - 1);
}

void DeviceListModel::retranslate()
{
    emit headerDataChanged(Qt::Horizontal, TickColumn, TickColumn);
    if (!m_ticks.isEmpty())
        emit dataChanged(index(0, TickColumn), index(m_ticks.size() - 1, TickColumn), {Qt::AccessibleTextRole});
}

void DeviceListModel::ticksChanged(int first, int last)
{
    if (first <= last)
        emit dataChanged(index(first, TickColumn), index(last, TickColumn),
                         {Qt::DisplayRole, Qt::EditRole, Qt::AccessibleTextRole});
}

// What the operator entered is on disk at once, not only at exit; the store
// writes only when the list differs from what it holds.
void DeviceListModel::store()
{
    m_store->setEntries(m_devices);
}
