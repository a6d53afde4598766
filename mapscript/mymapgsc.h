#pragma once

#include <QString>

namespace tavrin {

// One set of choices for a COD map's main script. A plain record: the maker
// window writes every field, and sHead() composes the script from them. Nothing
// is checked, trimmed or escaped; each field lands in the script as it stands,
// so the punctuation the maker's boxes carry (brackets, quotes, commas) is part
// of the values.
class mymapgsc
{
public:
    QString game;        // put in front of every key inside game["..."]; always empty from the maker
    QString sMain;       // line 1, the function head
    QString soldierT;    // line 23, allied soldier type key
    QString soldierV;    // line 24, allied soldier variation key
    QString weather;     // line 24, allied weather
    QString division;    // line 23, allied division
    QString allies;      // line 17, allied nation
    QString axis;        // line 18, axis nation
    QString attackers;   // line 17, key
    QString defenders;   // line 18, key
    QString attackers1;  // line 19, key
    QString defender1;   // line 20, key
    QString axis1;       // line 20, value
    QString allies1;     // line 19, value
    QString Ambient;     // line 11, ambient sound name
    QString germanT;     // line 25, German soldier type key
    QString germanV;     // line 26, German soldier variation key
    QString germanW;     // line 26, German weather
    QString germanD;     // line 25, German division
    QString layoutimage; // line 28, key
    QString layout1;     // line 28, layout image name
    QString pathfx;      // line 4, first effect file, with its parentheses and semicolon
    QString pathfx1;     // line 6, second effect file
    QString alias;       // line 4, first effect alias, with its brackets
    QString alias1;      // line 5, alias argument of the first loop, with its comma
    QString alias2;      // line 6, second effect alias
    QString alias3;      // line 7, alias argument of the second loop
    QString effect;      // line 4, "level._effect"
    QString effect1;     // line 6
    QString loadfx;      // line 4, "= loadfx"
    QString loadfx1;     // line 6
    QString maps;        // line 5, the loop call's name
    QString maps1;       // line 7
    QString waitT;       // line 5, tail of the loop's arguments (",0.6")
    QString waitV;       // line 7
    float x = 0;         // line 5, the first effect's position
    float x1 = 0;        // line 7, the second effect's position
    float y = 0;         // line 5
    float y2 = 0;        // line 7
    float z = 0;         // line 5
    float z3 = 0;        // line 7
    QString sCF;         // line 10, the fog call's name
    QString mp;          // line 11, the ambient sound call's name
    QString mMP;         // line 14, the whole load line
    QString a;           // line 10, the six fog arguments, each with its own comma
    QString b;
    QString c;
    QString d;
    QString e;
    QString f;

    // The 31-line script from the current values, lines joined by CR LF and
    // no line end after the last. Composed anew on every call.
    QString sHead() const;
};

} // namespace tavrin
