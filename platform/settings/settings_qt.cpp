#include "platform/settings/settings_qt.h"

#include <QDir>
#include <QSettings>

#include <memory>

namespace vt::settings {
namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

std::unique_ptr<QSettings> Open(const std::string& folder, const std::string& app) {
    if (folder.empty())
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Vantrel", Q(app));
    return std::make_unique<QSettings>(QDir(Q(folder)).filePath(Q(app) + ".ini"), QSettings::IniFormat);
}

}  // namespace

QtSettings::QtSettings(std::string folder) : folder_(std::move(folder)) {}

std::string QtSettings::Get(const std::string& app, const std::string& section, const std::string& key,
                            const std::string& fallback) {
    auto s = Open(folder_, app);
    s->beginGroup(Q(section));
    const QVariant v = s->value(Q(key));
    if (!v.isValid()) return fallback;
    // A value with a comma that another writer left unquoted reads as a list.
    const QString text = v.typeId() == QMetaType::QStringList ? v.toStringList().join(", ") : v.toString();
    return text.toUtf8().toStdString();
}

void QtSettings::Save(const std::string& app, const std::string& section, const std::string& key,
                      const std::string& value) {
    auto s = Open(folder_, app);
    s->beginGroup(Q(section));
    s->setValue(Q(key), Q(value));
    s->endGroup();
    s->sync();
}

}  // namespace vt::settings
