#pragma once

#include <QDialog>

class AliasStore;
class QLabel;
class QModelIndex;
class QTableView;
class RouteModel;
class RouteTracker;

// The crosspoint view: what each output carries as far as this program sent
// it. A click on a cell, or Space on the current cell, routes that input to
// that output with the same command the switcher sends.
class CRoutingDialog : public QDialog
{
    Q_OBJECT

public:
    CRoutingDialog(const RouteTracker *tracker, const AliasStore *aliases, QWidget *parent = nullptr);

signals:
    void notice(const QString &text);

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void route(const QModelIndex &index);
    void retranslateUi();

    RouteModel *m_model = nullptr;
    QLabel *m_note = nullptr;
    QTableView *m_view = nullptr;
};
