#include "build_bar.h"

#include <QDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int BAR_HEIGHT = 24;

} // namespace

BuildBar::BuildBar(QWidget& window) : QWidget(&window) {
    setObjectName(QStringLiteral("BuildBar"));
    // A pale red that no part of the window uses, under the error and its button.
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#BuildBar { background: #f8d7d3; }"
                                 "#BuildError { background: #f8d7d3; color: #600000; }"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(3, 1, 3, 1);
    row->setSpacing(4);
    error_ = new QLineEdit(this);
    error_->setObjectName(QStringLiteral("BuildError"));
    error_->setReadOnly(true);
    error_->setFrame(false);
    error_->setToolTip(tr("The compiler's first error: select it and copy it"));
    log_button_ = new QPushButton(tr("Show build log"), this);
    log_button_->setObjectName(QStringLiteral("ShowBuildLog"));
    row->addWidget(error_, 1);
    row->addWidget(log_button_);
    connect(log_button_, &QPushButton::clicked, this, &BuildBar::showLog);
    setGeometry(0, window.height() - BAR_HEIGHT, window.width(), BAR_HEIGHT);
    hide();
}

void BuildBar::showError(const QString& error, const QString& log) {
    error_->setText(error);
    error_->setCursorPosition(0);
    log_ = log;
    raise();
    show();
}

void BuildBar::showLog() {
    auto* dialog = new QDialog(window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("Build log"));
    auto* text = new QPlainTextEdit(log_, dialog);
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* column = new QVBoxLayout(dialog);
    column->addWidget(text);
    dialog->resize(800, 400);
    dialog->show();
}
