// The bar over the foot of the window that says why the firmware did not build: the
// compiler's first error, selectable and copyable, and the whole build output a click away.
// It shows only while the last build has failed, so a window without a failed build looks as
// it always does.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>

class BuildBar : public QWidget {
    Q_OBJECT

public:
    explicit BuildBar(QWidget& window);

    // Shows the error over the foot of the window; `log` is the build's whole output.
    void showError(const QString& error, const QString& log);
    QString error() const { return error_->text(); }

private:
    void showLog();

    QLineEdit* error_;
    QPushButton* log_button_;
    QString log_;
};
