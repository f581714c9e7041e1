// Where everything stands on the mimic diagram (`imgManual`, 755 x 501
// logical pixels): the pipes' centre lines, the equipment, the flow-path
// rectangles over the pipes' bores, the pictures, lamps, labels and
// read-outs. Rectangles are left, top, right, bottom, right and bottom
// exclusive.
#pragma once

#include "ui/common/ValueBox.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <span>

namespace velmor::mimic {

constexpr QSize kDiagramSize{755, 501};

// Pipes: 10 pixels across, a 6-pixel bore.
constexpr int kPipeWidth = 10;
constexpr int kBore = 6;

// Centre lines.
constexpr int kMiddleY = 262;   // the flow line back to the tank
constexpr int kBottomY = 432;   // overflow and drain line to the sump
constexpr int kTopInletY = 78;  // over to the tank top
constexpr int kCoolerTopY = 84; // across the cooler
constexpr int kRiserX = 712;    // up from the pump
constexpr int kReturnX = 574;   // down from the cooler
constexpr int kUpX = 350;       // up from the middle line to the tank top
constexpr int kInletX = 180;    // down into the tank
constexpr int kOverflowX = 24;  // the overflow pipe
constexpr int kOverflowY = 138; // its outlet on the tank wall
constexpr int kDrainX = 100;    // down from the tank bottom
constexpr int kSuctionY = 466;  // sump to pump

// Equipment.
constexpr QRect kTank = Ltrb(56, 116, 201, 288);  // walls 3 pixels
constexpr int kTankFloor = 285;                   // 0 % (bar rows end at 284)
constexpr QRect kSump = Ltrb(300, 396, 471, 490); // open top
constexpr int kSumpWaterY = 418;
constexpr QPoint kPumpCentre{696, 466};
constexpr int kPumpRadius = 16;
constexpr int kGateX = 470;  // gate valve on the middle line
constexpr int kMeterX = 410; // flow meter on the middle line
constexpr int kFlowTempX = 522;
constexpr int kTankTempX = 156; // probe through the lid
constexpr int kSumpTempX = 416; // probe into the sump
constexpr int kHeaterX = 76;    // immersion heater through the lid

// The diagram's pictures with their sizes.
constexpr QRect kScale{206, 112, 16, 173};           // level scale; bar rows 172 - h .. 171
constexpr QRect kStirrer{100, 252, 56, 20};          // impeller, 4 frames
constexpr QRect kStirrerMotor{110, 80, 36, 34};      // `imgStirrer`
constexpr QRect kFan{598, 118, 91, 91};              // 3 frames
constexpr QRect kCooler{610, 68, 70, 32};            // `imgCooler`, the finned coil
constexpr QRect kSolenoidDrain{86, 334, 40, 48};     // pipe at x 14 of the picture
constexpr QRect kSolenoidDiverter{696, 239, 42, 46}; // junction at 16, 23
constexpr QRect kScroll{548, 412, 139, 31};          // `imgScroll`
constexpr QSize kKnobSize{15, 31};
constexpr QRect kHeatControl{287, 391, 34, 33};
constexpr QRect kTitle{270, 8, 235, 38}; // `imgLabel` (Spanish 236 x 39)

// Indicator lamps.
constexpr int kLampSize = 20;
constexpr QRect kTankFullLamp{283, 150, kLampSize, kLampSize};
constexpr QRect kDrainLamp{170, 350, kLampSize, kLampSize};
constexpr QRect kCoolLamp{502, 124, kLampSize, kLampSize};
constexpr QRect kDivLamp{626, 322, kLampSize, kLampSize};

// Yellow labels and black read-out boxes.
constexpr QRect kLblTankFull{247, 116, 94, 30};
constexpr QRect kLblProcessTemp{247, 184, 94, 30};
constexpr QRect kTankNum{271, 218, 46, 22};
constexpr QRect kLblHeatInput{247, 298, 94, 30};
constexpr QRect kHeatNum{271, 332, 46, 22};
constexpr QRect kLblManualHeat{247, 360, 94, 28};
constexpr QRect kLblDrainValve{140, 316, 82, 30};
constexpr QRect kLblSump{369, 298, 94, 30};
constexpr QRect kSumpNum{393, 332, 46, 22};
constexpr QRect kLblFlowRate{366, 158, 88, 30};
constexpr QRect kFlowNum{387, 192, 46, 22};
constexpr QRect kLblFlowTemp{466, 158, 92, 30};
constexpr QRect kTempNum{489, 192, 46, 22};
constexpr QRect kLblCooler{466, 88, 92, 30};
constexpr QRect kLblDiverted{590, 288, 92, 30};
constexpr QRect kLblPumpOutput{548, 392, 139, 18};
constexpr QRect kBtnMenu{14, 456, 84, 30};

// The flow paths: rectangles over the bores, in their groups.
constexpr std::array kFlow1{
    Ltrb(709, 428, 715, 458), // a: pump outlet
    Ltrb(709, 274, 715, 428), // b: riser to the diverter
    Ltrb(571, 259, 577, 265), // c: tee with the cooler return
    Ltrb(484, 259, 571, 265), // d: past the temperature probe to the gate valve
    Ltrb(426, 259, 456, 265), // e: gate valve to the flow meter
    Ltrb(353, 259, 394, 265), // f: flow meter to the bend
    Ltrb(347, 259, 353, 265), // g: bend
    Ltrb(347, 81, 353, 259),  // h: up
    Ltrb(347, 75, 353, 81),   // i: bend
    Ltrb(183, 75, 347, 81),   // j: over to the tank
    Ltrb(177, 75, 183, 132),  // k: down into the tank
};
constexpr std::array kFlow2{
    Ltrb(676, 259, 700, 265), Ltrb(652, 259, 676, 265), Ltrb(626, 259, 652, 265),
    Ltrb(600, 259, 626, 265), Ltrb(577, 259, 600, 265),
};
constexpr std::array kFlow3{
    Ltrb(709, 167, 715, 250), // a: riser above the diverter
    Ltrb(709, 87, 715, 167),  // b
    Ltrb(709, 81, 715, 87),   // c: bend
    Ltrb(680, 81, 709, 87),   // d: into the cooler
    Ltrb(577, 81, 610, 87),   // e: out of the cooler
    Ltrb(571, 81, 577, 87),   // f: bend
    Ltrb(571, 87, 577, 167),  // g: down again
    Ltrb(571, 167, 577, 259), // h: to the middle line
};
constexpr std::array kFlow4{
    Ltrb(97, 285, 103, 346), // a: tank bottom to the drain valve
    Ltrb(97, 374, 103, 435), // b: drain valve down to the sump line
};
constexpr std::array kFlow5{
    Ltrb(27, 135, 56, 141),  // a: overflow outlet
    Ltrb(21, 135, 27, 141),  // b: bend
    Ltrb(21, 141, 27, 240),  // c: down the left-hand pipe
    Ltrb(21, 240, 27, 340),  // d
    Ltrb(21, 340, 27, 429),  // e
    Ltrb(21, 429, 27, 435),  // f: bend
    Ltrb(27, 429, 60, 435),  // g: along the bottom
    Ltrb(60, 429, 103, 435), // h: to the drain tee
};
constexpr std::array kFlow6{
    Ltrb(103, 429, 304, 435), // a: into the sump
};

// The groups in the order of the path bits (pump, direct, cooler, drain,
// overflow, sump).
constexpr std::array<std::span<const QRect>, 6> kFlowPaths{
    std::span<const QRect>(kFlow1), std::span<const QRect>(kFlow2), std::span<const QRect>(kFlow3),
    std::span<const QRect>(kFlow4), std::span<const QRect>(kFlow5), std::span<const QRect>(kFlow6),
};

} // namespace velmor::mimic
