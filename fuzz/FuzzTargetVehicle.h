#pragma once
// The vehicle the line harnesses merge over: the Landstalker as the game defines it.

#include "gamedata/VehiclesIde.h"

inline vehmira::gamedata::TVehicleRecord FuzzTargetVehicle()
{
    vehmira::gamedata::TVehicleRecord vehicle;
    vehicle.ID = 400;
    vehicle.ModelName = "landstal";
    vehicle.TxdName = "landstal";
    vehicle.VehicleType = "car";
    vehicle.HandlingID = "LANDSTAL";
    vehicle.GameName = "LANDSTK";
    return vehicle;
}
