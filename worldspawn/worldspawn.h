#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <initializer_list>
#include <optional>
#include <span>

namespace tavrin {

// The worldspawn keys beyond the nine that every settings text shows.
enum class Field {
    spawnflags,
    origin,
    contrastgain,
    model,
    script_dronelag,
    script_noteworthy,
    script_wait,
    script_delay,
    bouncefraction,
};

// One further key of a map row.
struct ExtraValue {
    Field field;
    const char16_t *value;
    bool shown;            // whether the settings text carries a line for it
    const char16_t *label; // the row's own label, where it has one (the model key)
};

// One stock map and its worldspawn settings.
struct MapRow {
    const char16_t *name;
    // northyaw, _color, ambient, sundiffusecolor, diffusefraction, sundirection, suncolor, sunlight
    std::array<const char16_t *, 8> values;
    ExtraValue extras[3]; // unused places have no value
    int extraCount() const;
};

// The 42 items of the viewer's map box, in order, separator items included.
const QStringList &mapList();

// Every map row, in table order.
std::span<const MapRow> mapRows();

// The row whose name equals the text exactly (case-sensitive, untrimmed), or nullptr.
const MapRow *FindMap(const QString &name);

// The settings text of a row: its lines joined by CR LF, none after the last.
QString RenderSettings(const MapRow &row);

// The row's worldspawn as a map file writes an entity: "{", one
// "key" "value" line per key that has a value (classname first, then the
// eight value columns, then the further keys, those the settings text leaves
// out included), "}"; joined by CR LF, none after the last.
QString RenderEntity(const MapRow &row);

// A colour key of a row: its name as map files spell it, and its value.
struct ColorKey {
    const char *key;
    QString value;
};

// The row's three colour keys: _color, sundiffusecolor, suncolor.
std::array<ColorKey, 3> colorKeys(const MapRow &row);

// A colour value as the colour it stands for: three numbers, from 0 to 1, or
// from 0 to 255 where any of them is above 1 ("100 100 105"), each held to
// its range. Anything else (empty, one number, four) is no colour.
std::optional<QColor> WorldspawnColor(const QString &value);

} // namespace tavrin
