#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <initializer_list>
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
    bool shown;             // whether the settings text carries a line for it
    const char16_t *label;  // the row's own label, where it has one (the model key)
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

} // namespace tavrin
