main()
{
 
 level._effect["fire"]= loadfx("fx/fire/tinybon.efx");
 maps\mp\_fx::loopfx("fire", (16, 24, 0),0.6);
 level._effect["smoke"]= loadfx("fx/smoke/ash_smoke.efx");
 maps\mp\_fx::loopfx("smoke", (16, 24, 32),0.7);


 setCullFog(0, 6000, .32, .33, .40, 0);
 ambientPlay ("ambient_mp_brecourt");


 maps\mp\_load::main();


 game["allies"] = "british";
 game["axis"] = "german";
 game["attackers"] = "allies";
 game["defenders"] = "axis";


 game["british_soldiertype"] = "airborne";
 game["british_soldiervariation"] = "normal";
 game["german_soldiertype"] = "wehrmacht";
 game["german_soldiervariation"] = "normal";

 game["layoutimage"] = "mp_brecourt";


 }
