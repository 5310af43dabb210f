#pragma once

#include <QAbstractTableModel>

class AliasStore;
class RouteTracker;

// The crosspoints: one row per output, one column per input; a cell is
// checked when that output carries that input. An output never routed from
// here has no check state in any cell: it is unknown, not off.
class RouteModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // aliases may be null: the headers then show the numbers alone.
    RouteModel(const RouteTracker *tracker, const AliasStore *aliases, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Names or language changed.
    void refreshHeaders();

private:
    void refresh();
    QString inputName(int column) const;
    QString outputName(int row) const;

    const RouteTracker *m_tracker;
    const AliasStore *m_aliases;
};
