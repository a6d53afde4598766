#pragma once

#include <QString>

namespace tavrin {

// The worldspawn settings of one map, as its settings text shows them. Every
// field starts empty; rendering fills a fresh record for each map.
class SettingsClass
{
public:
    QString oChar;             // the opening brace
    QString oChar2;            // the closing brace
    QString northyaw;          // "Northyaw -> "
    QString color;             // "_color -> "
    QString Ambient;           // "ambient -> "
    QString sundiffusecolor;   // "sundiffusecolor -> "
    QString diffusefraction;   // "diffusefraction -> "
    QString classname;         // "classname -> ", always worldspawn
    QString sundirection;      // "sundirection -> "
    QString suncolor;          // "suncolor -> "
    QString sunlight;          // "sunlight -> "
    QString spawnflags;        // "spawnflags ->"
    QString origin;            // "origin ->"
    QString contrastgain;      // "-contrastgain ->"
    QString model;             // "Model ->" or "model ->"
    QString script_dronelag;   // "script_dronelag -> "
    QString script_noteworthy; // "script_noteworthy -> "
    QString script_wait;       // "script_wait -> "
    QString script_delay;      // "script_delay ->"
    QString bouncefraction;    // "bouncefraction ->"
};

} // namespace tavrin
