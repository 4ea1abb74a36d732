#include "app/TFAbout.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

void OpenTabulonWebSite()
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(TabulonWebSite)));
}

TFAbout::TFAbout(QWidget* parent) : QDialog(parent)
{
    // The resources live in a static library: register them before the first use.
    Q_INIT_RESOURCE(app);

    setObjectName(QStringLiteral("FAbout"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);

    IPicture = new QLabel(this);
    IPicture->setObjectName(QStringLiteral("IPicture"));
    IPicture->setPixmap(QPixmap(QStringLiteral(":/about.jpg")));
    IPicture->setFrameShape(QFrame::StyledPanel);
    IPicture->setAlignment(Qt::AlignCenter);

    LVersion = new QLabel(QStringLiteral("Tabulon ver 0.981"), this);
    LVersion->setObjectName(QStringLiteral("LVersion"));
    QFont big = LVersion->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    LVersion->setFont(big);
    LVersion->setAlignment(Qt::AlignCenter);

    const QString site = QString::fromLatin1(TabulonWebSite);
    LWebSite = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(site), this);
    LWebSite->setObjectName(QStringLiteral("LWebSite"));
    LWebSite->setTextFormat(Qt::RichText);
    LWebSite->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    LWebSite->setAlignment(Qt::AlignCenter);
    LWebSite->setCursor(Qt::PointingHandCursor);
    connect(LWebSite, &QLabel::linkActivated, this, [] { OpenTabulonWebSite(); });

    MCredits = new QPlainTextEdit(this);
    MCredits->setObjectName(QStringLiteral("MCredits"));
    MCredits->setReadOnly(true);
    MCredits->setPlainText(QStringLiteral(
        "Thanks to the operators and players of FIBS, the First Internet Backgammon Server, "
        "and to the authors of GNU Backgammon and Qt."));
    MCredits->setFixedHeight(MCredits->fontMetrics().lineSpacing() * 4 + 10);

    BOk = new QPushButton(QStringLiteral("OK"), this);
    BOk->setObjectName(QStringLiteral("BOk"));
    BOk->setDefault(true);
    connect(BOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BOk);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(IPicture);
    layout->addWidget(LVersion);
    layout->addWidget(LWebSite);
    layout->addWidget(MCredits);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
