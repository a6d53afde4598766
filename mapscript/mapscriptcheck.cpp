#include "mapscriptcheck.h"

#include "mymapgsc.h"
#include "textfile.h"

#include <cmath>

namespace tavrin {

namespace {
// A text the script writes between double quotes, and how the user knows its box.
struct QuotedField {
    QString mymapgsc::*field;
    const char *box;
};

const QuotedField quotedFields[] = {
    {&mymapgsc::Ambient, "ambientPlay"},
    {&mymapgsc::allies, "Allies"},
    {&mymapgsc::soldierT, "Soldier types"},
    {&mymapgsc::soldierV, "Soldier Variation"},
    {&mymapgsc::division, "Soldier Division"},
    {&mymapgsc::weather, "Weather"},
    {&mymapgsc::germanT, "German Soldier"},
    {&mymapgsc::germanV, "German Variation"},
    {&mymapgsc::germanD, "German Division"},
    {&mymapgsc::germanW, "German Weather"},
    {&mymapgsc::layout1, "LayoutImage"},
    // The words the window fills in itself; named after their keys.
    {&mymapgsc::game, "key prefix"},
    {&mymapgsc::layoutimage, "layoutimage key"},
    {&mymapgsc::attackers, "side word"},
    {&mymapgsc::defenders, "side word"},
    {&mymapgsc::attackers1, "side word"},
    {&mymapgsc::defender1, "side word"},
    {&mymapgsc::axis, "side word"},
    {&mymapgsc::allies1, "side word"},
    {&mymapgsc::axis1, "side word"},
};

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

void checkQuoted(QStringList &problems, const QString &value, const char *box)
{
    const bool quote = value.contains(QLatin1Char('"'));
    const bool backslash = value.contains(QLatin1Char('\\'));
    if (!quote && !backslash)
        return;
    const QString what = quote && backslash ? QStringLiteral("a double quote and a backslash, which break")
                         : quote            ? QStringLiteral("a double quote, which breaks")
                                            : QStringLiteral("a backslash, which breaks");
    problems << QLatin1String(box) + QLatin1String(": ") + quoted(value) + QLatin1String(" holds ") + what
                    + QLatin1String(" the script's text there.");
}

void checkEffect(QStringList &problems, const mymapgsc &m, bool second)
{
    const char *which = second ? "Second effect" : "First effect";
    const std::pair<const QString *, const char *> pieces[] = {
        {second ? &m.alias2 : &m.alias, "alias"},
        {second ? &m.loadfx1 : &m.loadfx, "loadfx text"},
        {second ? &m.pathfx1 : &m.pathfx, "effect file"},
        {second ? &m.alias3 : &m.alias1, "loop's alias"},
    };
    for (const auto &[value, name] : pieces) {
        if (value->trimmed().isEmpty())
            problems << QLatin1String(which) + QLatin1String(": the ") + QLatin1String(name)
                            + QLatin1String(" is empty, so the game cannot load the effect.");
    }
}

// The nation a soldier key belongs to: what stands before its first '_'.
QString nationOf(const QString &key)
{
    return key.section(QLatin1Char('_'), 0, 0);
}

void checkNation(QStringList &problems, const QString &key, const QString &allies, const char *box)
{
    if (key.isEmpty() || allies.isEmpty())
        return;
    if (nationOf(key).compare(allies, Qt::CaseInsensitive) != 0)
        problems << QLatin1String(box) + QLatin1String(": ") + quoted(key)
                        + QLatin1String(" is not of the allies chosen, ") + quoted(allies) + QLatin1Char('.');
}

void checkCoordinate(QStringList &problems, float value, const char *box)
{
    if (std::fabs(value) <= MapCoordinateLimit)
        return;
    problems << QLatin1String(box) + QLatin1String(": ")
                    + (std::isfinite(value) ? formatSingle(value) : QStringLiteral("the value"))
                    + QLatin1String(" lies beyond ") + QChar(0x00B1) + formatSingle(MapCoordinateLimit)
                    + QLatin1String(", outside any map.");
}
} // namespace

QStringList CheckMapScript(const mymapgsc &m)
{
    QStringList problems;
    checkEffect(problems, m, false);
    checkCoordinate(problems, m.x, "X of the first effect");
    checkCoordinate(problems, m.y, "Y of the first effect");
    checkCoordinate(problems, m.z, "Z of the first effect");
    checkEffect(problems, m, true);
    checkCoordinate(problems, m.x1, "X of the second effect");
    checkCoordinate(problems, m.y2, "Y of the second effect");
    checkCoordinate(problems, m.z3, "Z of the second effect");
    for (const QuotedField &f : quotedFields)
        checkQuoted(problems, m.*f.field, f.box);
    checkNation(problems, m.soldierT, m.allies, "Soldier types");
    checkNation(problems, m.soldierV, m.allies, "Soldier Variation");
    return problems;
}

} // namespace tavrin
