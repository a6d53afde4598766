#include "mymapgsc.h"

#include "textfile.h"

#include <QStringList>

namespace tavrin {

namespace {
// A key line: game["key"] = "value";
QString keyLine(const QString &game, const QString &key, const QString &value)
{
    return QLatin1String(" game[\"") + game + key + QLatin1String("\"] = \"") + value + QLatin1String("\";");
}

// A loop line. The game writes a position as (x, y, z); without the commas the
// script does not compile.
QString loopLine(const QString &call, const QString &alias, float x, float y, float z, const QString &tail)
{
    return QLatin1Char(' ') + call + QLatin1Char('(') + alias + QLatin1String(" (") + formatSingle(x)
           + QLatin1String(", ") + formatSingle(y) + QLatin1String(", ") + formatSingle(z) + QLatin1Char(')') + tail
           + QLatin1String(");");
}
} // namespace

QString mymapgsc::sHead() const
{
    const QString space = QStringLiteral(" ");
    const QString empty;
    const QStringList lines{
        sMain,                                                                                            // 1
        QStringLiteral("{"),                                                                              // 2
        space,                                                                                            // 3
        space + effect + alias + loadfx + pathfx,                                                         // 4
        loopLine(maps, alias1, x, y, z, waitT),                                                           // 5
        space + effect1 + alias2 + loadfx1 + pathfx1,                                                     // 6
        loopLine(maps1, alias3, x1, y2, z3, waitV),                                                       // 7
        empty,                                                                                            // 8
        empty,                                                                                            // 9
        space + sCF + QLatin1Char('(') + QStringList{a, b, c, d, e, f}.join(space) + QLatin1String(");"), // 10
        space + mp + QLatin1String(" (\"") + Ambient + QLatin1String("\");"),                             // 11
        empty,                                                                                            // 12
        empty,                                                                                            // 13
        space + mMP,                                                                                      // 14
        empty,                                                                                            // 15
        empty,                                                                                            // 16
        keyLine(game, attackers, allies),                                                                 // 17
        keyLine(game, defenders, axis),                                                                   // 18
        keyLine(game, attackers1, allies1),                                                               // 19
        keyLine(game, defender1, axis1),                                                                  // 20
        empty,                                                                                            // 21
        empty,                                                                                            // 22
        keyLine(game, soldierT, division),                                                                // 23
        keyLine(game, soldierV, weather),                                                                 // 24
        keyLine(game, germanT, germanD),                                                                  // 25
        keyLine(game, germanV, germanW),                                                                  // 26
        empty,                                                                                            // 27
        keyLine(game, layoutimage, layout1),                                                              // 28
        empty,                                                                                            // 29
        empty,                                                                                            // 30
        QStringLiteral(" }"),                                                                             // 31
    };
    return joinLines(lines);
}

} // namespace tavrin
