#include "qr_image_request.h"

namespace {

QString encodedId(const QString& id) {
    return QString::fromLatin1(QUrl::toPercentEncoding(id));
}

} // namespace

QrImageLook QrImageLook::fromProfile(const TCompanyProfile& profile) {
    return {profile.qrcolor, profile.size1, profile.size2,
            profile.size3,   profile.size4, profile.size5};
}

WebParams qrImageParams(const QString& id, const QString& number, const QrImageLook& look) {
    return {{QStringLiteral("id"), id},
            {QStringLiteral("qr"), number},
            {QStringLiteral("color"), look.color},
            {QStringLiteral("namesize"), look.namesize},
            {QStringLiteral("text1usize"), look.text1usize},
            {QStringLiteral("text2usize"), look.text2usize},
            {QStringLiteral("text1dsize"), look.text1dsize},
            {QStringLiteral("text2dsize"), look.text2dsize}};
}

void requestQrImage(WebClient& web, const QString& id, const QString& number,
                    const QrImageLook& look) {
    web.setFollowRedirects(true);
    web.get(QStringLiteral("/genqr.php"), qrImageParams(id, number, look));
}

QUrl previewImageAddress(const QString& base, const QString& id) {
    return QUrl(base + QStringLiteral("/customers/") + encodedId(id) + QStringLiteral("/qr1.png"));
}

QUrl a4SheetAddress(const QString& base, const QString& id) {
    return QUrl(base + QStringLiteral("/gen_qr_a4_9.php?id=") + encodedId(id));
}

QString statisticsAddress(const QString& base) {
    return base + QStringLiteral("/stat.php");
}
