#include "demo/DemoVehicles.h"

namespace vehmira::demo {

namespace {
// Field values are of this project's own making: plausible, not any real release's.
constexpr TDemoVehicle Vehicles[] = {
    {"400, landstal, landstal, car, LANDSTAL, LANDSTK, null, normal, 10, 0, 0, -1, 0.77, 0.77, -1", "landstal",
     "landstal", "LANDSTK",
     "LANDSTAL 1850.0 5010.0 2.4 0.0 0.0 -0.25 80 0.78 0.84 0.52 5 155.0 22.0 22.0 4 D 6.0 0.58 0 34.0 1.9 0.09 0.0 "
     "0.30 -0.16 0.5 0.3 0.40 0.25 28000 20 500002 2 1 0",
     "landstal, 4,1, 123,1, 113,1, 101,1, 75,1", {"Внедорожник", "Tout-terrain", "Gelaendewagen", "Fuoristrada", "Todoterreno"}},
    {"401, bravura, bravura, car, BRAVURA, BRAVURA, null, poorfamily, 10, 0, 0, -1, 0.66, 0.66, -1", "bravura",
     "bravura", "BRAVURA",
     "BRAVURA 1300.0 2200.0 1.8 0.0 0.3 0.0 70 0.65 0.80 0.52 5 150.0 17.0 10.0 F P 7.5 0.65 0 33.0 1.1 0.10 0.0 "
     "0.26 -0.18 0.5 0.0 0.21 0.55 9500 0 1 1 0 0",
     "bravura, 41,41, 47,47, 52,52, 66,66, 74,74", {"Малолитражка", "Citadine", "Kleinwagen", "Utilitaria", "Utilitario"}},
    {"402, buffalo, buffalo, car, BUFFALO, BUFFALO, null, executive, 10, 0, 0, -1, 0.70, 0.70, 0", "buffalo",
     "buffalo", "BUFFALO",
     "BUFFALO 1500.0 4000.0 2.0 0.0 0.0 -0.1 85 0.73 0.88 0.50 5 185.0 29.0 5.0 R P 11.0 0.45 0 30.0 1.2 0.12 0.0 "
     "0.28 -0.12 0.5 0.4 0.25 0.50 35000 2800 10200000 1 1 1",
     "buffalo, 10,10, 13,13, 22,22, 30,30, 39,39", {"Бизон", "Bison", "Bison", "Bisonte", "Bisonte"}},
    {"404, peren, peren, car, PEREN, PEREN, null, poorfamily, 10, 0, 0, -1, 0.66, 0.66, -1", "peren", "peren",
     "PEREN",
     "PEREN 1200.0 3000.0 2.5 0.0 0.1 0.0 70 0.70 0.86 0.50 4 150.0 18.0 20.0 F P 6.0 0.60 0 35.0 1.4 0.10 0.0 0.33 "
     "-0.20 0.5 0.0 0.20 0.50 10000 20 1 1 0 0",
     "peren, 113,39, 119,50, 123,92, 109,25", {"Универсал", "Break", "Kombi", "Familiare", "Familiar"}},
    // No comma after the model name: the line rules take blanks and commas alike.
    {"405, sentinel sentinel, car, SENTINEL, SENTINL, null, executive, 10, 0, 0, -1, 0.70, 0.70, -1", "sentinel",
     "sentinel", "SENTINL",
     "SENTINEL 1600.0 4000.0 2.2 0.0 0.0 -0.2 75 0.65 0.75 0.52 5 165.0 24.0 10.0 R P 10.0 0.53 0 27.0 1.0 0.08 0.0 "
     "0.30 -0.20 0.5 0.3 0.24 0.60 35000 0 400000 0 1 0",
     "sentinel, 11,1, 24,1, 36,1, 40,1, 62,1", {"Седан", "Berline", "Limousine", "Berlina", "Sedan"}},
    {"411, infernus, infernus, car, INFERNUS, INFERNU, null, executive, 10, 0, 0, -1, 0.70, 0.70, 1", "infernus",
     "infernus", "INFERNU",
     "INFERNUS 1400.0 2725.3 1.5 0.0 0.0 -0.25 70 0.75 0.86 0.48 5 240.0 30.0 10.0 4 P 11.0 0.51 0 30.0 1.2 0.19 0.0 "
     "0.25 -0.10 0.5 0.4 0.37 0.72 95000 40002004 C04000 1 1 1",
     "infernus, 12,1, 64,1, 123,1, 116,1, 112,1", {"Суперкар", "Supercar", "Supersportwagen", "Supercar", "Superdeportivo"}},
    {"415, cheetah, cheetah, car, CHEETAH, CHEETAH, null, executive, 10, 0, 0, -1, 0.70, 0.70, 1", "cheetah",
     "cheetah", "CHEETAH",
     "CHEETAH 1200.0 3000.0 2.0 0.0 -0.2 -0.2 70 0.80 0.90 0.50 5 230.0 30.0 10.0 R P 11.0 0.48 0 35.0 0.8 0.20 0.0 "
     "0.10 -0.15 0.5 0.6 0.40 0.54 105000 C0002004 208000 0 0 1",
     "cheetah, 20,1, 25,1, 36,1, 40,1, 62,1, 75,1", {"Гепард", "Guepard", "Gepard", "Ghepardo", "Guepardo"}},
    // The texture dictionary has its own name here, so a mix-up of model and
    // dictionary names shows.
    {"416, ambulan, ambulan_tx, car, AMBULAN, AMBULAN, null, ignore, 10, 0, 0, -1, 0.75, 0.75, -1", "ambulan",
     "ambulan_tx", "AMBULAN",
     "AMBULAN 2600.0 10202.8 2.5 0.0 0.0 -0.1 90 0.75 0.80 0.47 5 155.0 24.0 5.0 4 D 7.0 0.55 0 35.0 1.5 0.07 0.0 "
     "0.40 -0.20 0.5 0.0 0.58 0.33 10000 4001 4 0 1 13",
     "ambulan, 1,3", {"Скорая помощь", "Ambulance", "Krankenwagen", "Ambulanza", "Ambulancia"}},
    // An end-of-line comment: the definition kept for the vehicle is the part before "#".
    {"420, taxi, taxi, car, TAXI, TAXI, null, taxi, 10, 0, 0, -1, 0.68, 0.68, -1   # radio taxi", "taxi", "taxi",
     "TAXI",
     "TAXI\t1450.0\t4056.4\t2.2\t0.0\t0.3\t-0.25\t75\t0.80\t0.75\t0.51\t5\t180.0\t19.0\t20.0\tF\tP\t6.2\t0.55\t0\t35.0\t"
     "1.4\t0.10\t0.0\t0.35\t-0.15\t0.5\t0.0\t0.20\t0.51\t20000\t0\t200000\t0\t1\t0",
     "taxi, 6,1", {"Такси", "Taxi", "Taxi", "Taxi", "Taxi"}},
    // A police car: its handling ID is not its model name.
    {"596, copcarla, copcarla, car, POLICE, POLICAR, null, ignore, 10, 0, 0, -1, 0.70, 0.70, -1", "copcarla",
     "copcarla", "POLICAR",
     "POLICE 1600.0 4500.0 2.0 0.0 0.3 -0.1 75 0.75 0.85 0.52 5 200.0 25.0 10.0 R P 10.0 0.53 0 32.0 1.0 0.08 0.0 0.30 "
     "-0.15 0.55 0.0 0.20 0.24 25000 40000000 10200008 0 1 0",
     "copcarla, 0,1", {"Полиция", "Police", "Polizei", "Polizia", "Policia"}},
    {"522, nrg500, nrg500, bike, NRG500, NRG500, bikes, motorbike, 10, 0, 0, -1, 0.62, 0.62, -1", "nrg500", "nrg500",
     "NRG500",
     "NRG500 400.0 200.0 4.0 0.0 0.08 -0.09 103 1.80 0.90 0.48 5 190.0 50.0 5.0 R P 15.0 0.50 0 35.0 0.85 0.15 0.0 "
     "0.15 -0.20 0.5 0.0 0.0 0.15 20000 1000000 1C00002 1 1 4",
     "nrg500, 3,3, 7,7, 30,30, 36,36", {"Спортбайк", "Moto sportive", "Sportmotorrad", "Moto sportiva", "Moto deportiva"}},
    // A boat: its definition line has eleven fields, not fifteen.
    {"472, coastg, coastg, boat, COASTGRD, COASTG, null, ignore, 10, 0, 0", "coastg", "coastg", "COASTG",
     "COASTGRD 1200.0 1600.0 10.0 0.0 0.0 0.0 14 -1.5 6.0 0.5 5 190.0 1.4 5.0 R P 0.02 0.0 0 24.0 0.9 3.0 1.0 3.0 "
     "0.1 0.0 0.0 0.0 0.2 9000 8000400 0 0 1 0",
     "coastg, 56,15, 56,53", {"Катер береговой охраны", "Garde-cotes", "Kuestenwache", "Guardia costiera", "Guardacostas"}},
    {"487, maverick, maverick, heli, MAVERICK, MAVERIC, null, ignore, 10, 0, 0, -1, 0.64, 0.40, -1", "maverick",
     "maverick",
     "MAVERIC",
     "MAVERICK 2000.0 7000.0 0.3 0.0 0.0 0.0 70 0.60 0.80 0.50 1 200.0 5.0 10.0 4 P 5.0 0.70 0 35.0 0.5 0.08 0.0 "
     "0.20 -0.10 0.5 0.0 0.0 0.35 55000 4000 400000 0 0 0",
     "maverick, 26,14, 29,42, 26,57, 54,29", {"Вертолёт", "Helicoptere", "Hubschrauber", "Elicottero", "Helicoptero"}},
};

constexpr std::string_view SpecialLines[] = {
    "! NRG500 0.14 0.09 38.0 40.0 0.65 1.30 0.85 0.95 0.55 0.75 -0.12 0.35 0.20 0.90 0.30",
    "$ MAVERICK 0.65 0.50 0.02 -1.0 4.5 -0.10 -0.06 0.0 0.003 0.05 0.004 0.002 0.003 0.009 0.004 0.999 0.9 0.98 0.03 "
    "0.02 0.001",
    "% COASTGRD 0.55 3.6 0.44 0.7 0.08 0.08 0.55 0.8 0.96 2.0 0.1 0.995 0.9 0.9",
    "^\t400\t0.70\t0.55\t0.35\t0.88\t1.00\t0.75",
    "^\t402\t0.70\t0.50\t0.30\t0.90\t1.00\t0.80",
};
} // namespace

std::span<const TDemoVehicle> DemoVehicles() { return Vehicles; }

std::span<const std::string_view> DemoSpecialHandlingLines() { return SpecialLines; }

} // namespace vehmira::demo
