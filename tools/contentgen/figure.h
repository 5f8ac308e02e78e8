// A fighter drawn from a posed skeleton: the picture, its hit mask and the
// numbers its .Frame file needs.
//
// Pose coordinates are "forward" (toward the opponent, which in the stored
// picture is toward column 0) and "up" from the ground point under the
// fighter. Bone angles are absolute, in degrees: 0 points down, 90 forward,
// 180 up, -90 back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "contentgen/poses.h"
#include "contentgen/raster.h"

namespace contentgen {

// The body and inks of one fighter, read from the figure line.
struct Figure {
    double head = 16, neck = 8, spine = 60, upper = 36, fore = 32, fist = 9;
    double thigh = 50, shin = 48, foot = 20;
    double torsoHip = 13, torsoChest = 16;
    double armShoulder = 7, armElbow = 6, armWrist = 5;
    double legHip = 9, legKnee = 7, legAnkle = 5;
    Colour ink = 0, streak = 0, wash = 0, washStreak = 0, paper = 0, accent = 0;
    int width = 250, height = 240, hotspotX = 150, hotspotY = 232;
    bool belt = false;
    double plume = 0;     // length of a feather from the head, 0 for none
    double topknot = 0;   // radius of a knot of hair, 0 for none
    double hat = 0;       // half the brim of a wide straw hat, 0 for none
    double scarf = 0;     // length of a scarf flying from the neck, 0 for none
    std::uint64_t seed = 1;
};

Figure readFigure(const Fields& fields);

struct PosedPicture {
    Raster picture;
    Raster mask;  // red 31 = body, green = strike value, black elsewhere
    int frontColumn = 0;
    int backColumn = 0;
};

// Draws one pose line. Throws std::runtime_error for a bad field.
PosedPicture drawPose(const Figure& figure, const PoseLine& pose);

// The fields a pose line may hold.
const std::vector<std::string>& poseKeys();

}  // namespace contentgen
