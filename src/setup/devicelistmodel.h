#pragma once

#include "config/deviceentry.h"

#include <QAbstractTableModel>
#include <QList>
#include <QVector>

#include <memory>

class DeviceStore;

// The address book as the connection panel shows it: the store's entries, each
// with the operator's tick in front. Every change goes through here and is on
// disk at once; the ticks live only as long as the panel.
class DeviceListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { TickColumn = 0, IpColumn = 1, PortColumn = 2, AliasColumn = 3, ColumnCount = 4 };

    explicit DeviceListModel(QObject *parent = nullptr);
    ~DeviceListModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    QList<DeviceEntry> devices() const;
    DeviceEntry device(int row) const;
    // From the top; Connect takes the first.
    QList<int> tickedRows() const;

    void setDevice(int row, const DeviceEntry &entry);
    void appendDevice(const DeviceEntry &entry);
    void removeDevice(int row);
    // The tick goes with its device, so Connect still reaches the one ticked.
    void swapDevices(int row, int other);
    void clear();
    void tickAll();
    // The words screen readers get for the ticks, in the language now chosen.
    void retranslate();

private:
    void store();
    void ticksChanged(int first, int last);

    std::unique_ptr<DeviceStore> m_store;
    QList<DeviceEntry> m_devices;
    QVector<bool> m_ticks;
};
