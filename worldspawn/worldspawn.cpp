#include "worldspawn.h"

#include "SettingsClass.h"
#include "textfile.h"

#include <algorithm>
#include <cmath>

namespace tavrin {

namespace {

const MapRow rows[] = {
#include "worldspawntable.inc"
};

// Where a further key's line stands in the settings text.
enum class Place { AfterBrace, AfterNorthyaw, AfterSunlight };

Place placeOf(Field field)
{
    switch (field) {
    case Field::contrastgain: return Place::AfterNorthyaw;
    case Field::spawnflags:
    case Field::origin: return Place::AfterSunlight;
    default: return Place::AfterBrace;
    }
}

const char16_t *defaultLabel(Field field)
{
    switch (field) {
    case Field::spawnflags: return u"spawnflags ->";
    case Field::origin: return u"origin ->";
    case Field::contrastgain: return u"-contrastgain ->";
    case Field::model: return u"model ->";
    case Field::script_dronelag: return u"script_dronelag -> ";
    case Field::script_noteworthy: return u"script_noteworthy -> ";
    case Field::script_wait: return u"script_wait -> ";
    case Field::script_delay: return u"script_delay ->";
    case Field::bouncefraction: return u"bouncefraction ->";
    }
    return u"";
}

// A further key as map files spell it.
const char *keyOf(Field field)
{
    switch (field) {
    case Field::spawnflags: return "spawnflags";
    case Field::origin: return "origin";
    case Field::contrastgain: return "contrastgain";
    case Field::model: return "model";
    case Field::script_dronelag: return "script_dronelag";
    case Field::script_noteworthy: return "script_noteworthy";
    case Field::script_wait: return "script_wait";
    case Field::script_delay: return "script_delay";
    case Field::bouncefraction: return "bouncefraction";
    }
    return "";
}

// The eight value columns' keys, in column order.
constexpr const char *valueKeys[8] = {"northyaw",        "_color",       "ambient",  "sundiffusecolor",
                                      "diffusefraction", "sundirection", "suncolor", "sunlight"};

QString &fieldOf(SettingsClass &s, Field field)
{
    switch (field) {
    case Field::spawnflags: return s.spawnflags;
    case Field::origin: return s.origin;
    case Field::contrastgain: return s.contrastgain;
    case Field::model: return s.model;
    case Field::script_dronelag: return s.script_dronelag;
    case Field::script_noteworthy: return s.script_noteworthy;
    case Field::script_wait: return s.script_wait;
    case Field::script_delay: return s.script_delay;
    case Field::bouncefraction: return s.bouncefraction;
    }
    Q_UNREACHABLE();
}

// The lines of the row's shown further keys that stand at one place, in the
// order spawnflags before origin.
void appendExtras(QStringList &lines, const MapRow &row, SettingsClass &s, Place place)
{
    for (int i = 0; i < row.extraCount(); ++i) {
        const ExtraValue &extra = row.extras[i];
        if (extra.shown && placeOf(extra.field) == place) {
            const QString label = QString::fromUtf16(extra.label ? extra.label : defaultLabel(extra.field));
            lines << label + fieldOf(s, extra.field);
        }
    }
}

} // namespace

int MapRow::extraCount() const
{
    int n = 0;
    while (n < 3 && extras[n].value)
        ++n;
    return n;
}

const QStringList &mapList()
{
    static const QStringList list = [] {
        QStringList names;
        for (const MapRow &row : rows) {
            const QString name = QString::fromUtf16(row.name);
            if (name == QLatin1String("sp_hill400_assault"))
                continue; // reached only by typing its name
            if (name == QLatin1String("sp_88ridge"))
                names << QString() << QStringLiteral("--SP_LEVELS--") << QString();
            names << name;
        }
        return names;
    }();
    return list;
}

std::span<const MapRow> mapRows()
{
    return rows;
}

const MapRow *FindMap(const QString &name)
{
    for (const MapRow &row : rows) {
        if (name == QStringView(row.name))
            return &row;
    }
    return nullptr;
}

QString RenderSettings(const MapRow &row)
{
    SettingsClass s;
    s.oChar = QStringLiteral("{");
    s.oChar2 = QStringLiteral("}");
    s.classname = QStringLiteral("worldspawn");
    s.northyaw = QString::fromUtf16(row.values[0]);
    s.color = QString::fromUtf16(row.values[1]);
    s.Ambient = QString::fromUtf16(row.values[2]);
    s.sundiffusecolor = QString::fromUtf16(row.values[3]);
    s.diffusefraction = QString::fromUtf16(row.values[4]);
    s.sundirection = QString::fromUtf16(row.values[5]);
    s.suncolor = QString::fromUtf16(row.values[6]);
    s.sunlight = QString::fromUtf16(row.values[7]);
    for (int i = 0; i < row.extraCount(); ++i)
        fieldOf(s, row.extras[i].field) = QString::fromUtf16(row.extras[i].value);

    QStringList lines;
    lines << s.oChar;
    appendExtras(lines, row, s, Place::AfterBrace);
    lines << QLatin1String("Northyaw -> ") + s.northyaw;
    appendExtras(lines, row, s, Place::AfterNorthyaw);
    lines << QLatin1String("_color -> ") + s.color << QLatin1String("ambient -> ") + s.Ambient
          << QLatin1String("sundiffusecolor -> ") + s.sundiffusecolor
          << QLatin1String("diffusefraction -> ") + s.diffusefraction << QLatin1String("classname -> ") + s.classname
          << QLatin1String("sundirection -> ") + s.sundirection << QLatin1String("suncolor -> ") + s.suncolor
          << QLatin1String("sunlight -> ") + s.sunlight;
    appendExtras(lines, row, s, Place::AfterSunlight);
    lines << s.oChar2;
    return joinLines(lines);
}

QString RenderEntity(const MapRow &row)
{
    QStringList lines{QStringLiteral("{"), QStringLiteral("\"classname\" \"worldspawn\"")};
    auto add = [&lines](const char *key, QStringView value) {
        if (!value.isEmpty())
            lines << QLatin1Char('"') + QLatin1String(key) + QLatin1String("\" \"") + value.toString()
                         + QLatin1Char('"');
    };
    for (int i = 0; i < 8; ++i)
        add(valueKeys[i], row.values[i]);
    // The further keys in the record's order, whatever order the row gives them in.
    for (Field field : {Field::spawnflags, Field::origin, Field::contrastgain, Field::model, Field::script_dronelag,
                        Field::script_noteworthy, Field::script_wait, Field::script_delay, Field::bouncefraction}) {
        for (int i = 0; i < row.extraCount(); ++i) {
            if (row.extras[i].field == field)
                add(keyOf(field), row.extras[i].value);
        }
    }
    lines << QStringLiteral("}");
    return joinLines(lines);
}

std::array<ColorKey, 3> colorKeys(const MapRow &row)
{
    return {{{valueKeys[1], QString::fromUtf16(row.values[1])},
             {valueKeys[3], QString::fromUtf16(row.values[3])},
             {valueKeys[6], QString::fromUtf16(row.values[6])}}};
}

std::optional<QColor> WorldspawnColor(const QString &value)
{
    const QStringList parts = value.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 3)
        return std::nullopt;
    double rgb[3];
    bool above1 = false;
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        rgb[i] = parts[i].toDouble(&ok); // '.' as the decimal point, as map files write
        if (!ok || !std::isfinite(rgb[i]))
            return std::nullopt;
        above1 = above1 || rgb[i] > 1;
    }
    const double scale = above1 ? 1.0 : 255.0;
    auto channel = [scale](double v) { return int(std::lround(std::clamp(v * scale, 0.0, 255.0))); };
    return QColor(channel(rgb[0]), channel(rgb[1]), channel(rgb[2]));
}

} // namespace tavrin
