#include "models.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include <glm/geometric.hpp>

namespace {

constexpr double kPi = 3.14159265358979323846;

double radians(double degrees)
{
    return degrees * kPi / 180.0;
}

using Surface = std::function<glm::dvec3(double u, double v)>;

// A thin sheet over the parameter square [0,1]^2, emitted twice: a front
// layer pushed half the thickness along the normal that agrees with
// `frontHint`, and a back layer pushed the other way with the opposite
// normal and winding. Either side shows with back-face culling on, and
// with culling off the nearer layer wins the depth test cleanly.
void addTwoSidedSheet(ObjBuilder& builder, const Surface& surface, int columns, int rows, double thickness,
                      const glm::dvec3& frontHint)
{
    const double h = 1e-5;
    std::vector<uint32_t> front;
    std::vector<uint32_t> back;
    std::vector<glm::dvec3> normals;
    for (int j = 0; j <= rows; ++j) {
        for (int i = 0; i <= columns; ++i) {
            const double u = static_cast<double>(i) / columns;
            const double v = static_cast<double>(j) / rows;
            const glm::dvec3 p = surface(u, v);
            const glm::dvec3 du = surface(u + h, v) - surface(u - h, v);
            const glm::dvec3 dv = surface(u, v + h) - surface(u, v - h);
            glm::dvec3 n = glm::normalize(glm::cross(du, dv));
            if (glm::dot(n, frontHint) < 0.0)
                n = -n;
            const glm::dvec2 uv(u, 1.0 - v);
            front.push_back(builder.addVertex(p + n * (0.5 * thickness), uv, n));
            back.push_back(builder.addVertex(p - n * (0.5 * thickness), uv, -n));
            normals.push_back(n);
        }
    }
    const auto at = [columns](int i, int j) { return static_cast<size_t>(j * (columns + 1) + i); };
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            const size_t quad[4] = {at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)};
            for (int half = 0; half < 2; ++half) {
                const size_t a = quad[0];
                const size_t b = quad[1 + half];
                const size_t c = quad[2 + half];
                const glm::dvec3 facing = normals[a] + normals[b] + normals[c];
                builder.addTriangleFacing(front[a], front[b], front[c], facing);
                builder.addTriangleFacing(back[a], back[b], back[c], -facing);
            }
        }
    }
}

// An ellipsoid whose lower half may be flatter than its upper half
// (radiusBelow), closed at both poles, wound outwards.
void addPuff(ObjBuilder& builder, const glm::dvec3& centre, const glm::dvec3& radii, double radiusBelow,
             int around, int down)
{
    const auto surfacePoint = [&](double theta, double phi, glm::dvec3& normal) {
        const double ry = std::cos(theta) >= 0.0 ? radii.y : radiusBelow;
        const glm::dvec3 offset(radii.x * std::sin(theta) * std::cos(phi), ry * std::cos(theta),
                                radii.z * std::sin(theta) * std::sin(phi));
        normal = glm::dvec3(offset.x / (radii.x * radii.x), offset.y / (ry * ry), offset.z / (radii.z * radii.z));
        return centre + offset;
    };

    glm::dvec3 normal;
    const uint32_t top = builder.addVertex(surfacePoint(0.0, 0.0, normal), {0.5, 1.0}, {0.0, 1.0, 0.0});
    std::vector<uint32_t> rings;
    for (int i = 1; i < down; ++i) {
        const double theta = kPi * i / down;
        for (int j = 0; j <= around; ++j) {
            const double phi = 2.0 * kPi * j / around;
            const glm::dvec3 p = surfacePoint(theta, phi, normal);
            rings.push_back(builder.addVertex(p, {static_cast<double>(j) / around, 1.0 - static_cast<double>(i) / down},
                                              normal));
        }
    }
    const uint32_t bottom = builder.addVertex(surfacePoint(kPi, 0.0, normal), {0.5, 0.0}, {0.0, -1.0, 0.0});

    const size_t row = static_cast<size_t>(around) + 1;
    const auto ring = [&](int i, int j) { return rings[static_cast<size_t>(i - 1) * row + static_cast<size_t>(j)]; };
    const glm::dvec3 up(0.0, 1.0, 0.0);
    for (int j = 0; j < around; ++j) {
        const glm::dvec3 sideways = surfacePoint(kPi * 0.5, 2.0 * kPi * (j + 0.5) / around, normal) - centre;
        builder.addTriangleFacing(top, ring(1, j), ring(1, j + 1), up + 0.01 * sideways);
        builder.addTriangleFacing(bottom, ring(down - 1, j), ring(down - 1, j + 1), -up + 0.01 * sideways);
        for (int i = 1; i + 1 < down; ++i) {
            const double theta = kPi * (i + 0.5) / down;
            const glm::dvec3 outwards = surfacePoint(theta, 2.0 * kPi * (j + 0.5) / around, normal) - centre;
            builder.addTriangleFacing(ring(i, j), ring(i + 1, j), ring(i + 1, j + 1), outwards);
            builder.addTriangleFacing(ring(i, j), ring(i + 1, j + 1), ring(i, j + 1), outwards);
        }
    }
}

// A closed upright cylinder around the y axis.
void addPole(ObjBuilder& builder, double radius, double bottomY, double topY, int around)
{
    std::vector<uint32_t> lower;
    std::vector<uint32_t> upper;
    for (int j = 0; j <= around; ++j) {
        const double phi = 2.0 * kPi * j / around;
        const glm::dvec3 out(std::cos(phi), 0.0, std::sin(phi));
        const double u = static_cast<double>(j) / around;
        lower.push_back(builder.addVertex(glm::dvec3(0.0, bottomY, 0.0) + radius * out, {u, 0.0}, out));
        upper.push_back(builder.addVertex(glm::dvec3(0.0, topY, 0.0) + radius * out, {u, 1.0}, out));
    }
    for (int j = 0; j < around; ++j) {
        const double phi = 2.0 * kPi * (j + 0.5) / around;
        const glm::dvec3 out(std::cos(phi), 0.0, std::sin(phi));
        builder.addTriangleFacing(lower[j], lower[j + 1], upper[j + 1], out);
        builder.addTriangleFacing(lower[j], upper[j + 1], upper[j], out);
    }
    for (int cap = 0; cap < 2; ++cap) {
        const double y = cap == 0 ? bottomY : topY;
        const glm::dvec3 facing(0.0, cap == 0 ? -1.0 : 1.0, 0.0);
        const uint32_t centre = builder.addVertex({0.0, y, 0.0}, {0.5, 0.5}, facing);
        std::vector<uint32_t> rim;
        for (int j = 0; j < around; ++j) {
            const double phi = 2.0 * kPi * j / around;
            rim.push_back(builder.addVertex({radius * std::cos(phi), y, radius * std::sin(phi)},
                                            {0.5 + 0.5 * std::cos(phi), 0.5 + 0.5 * std::sin(phi)}, facing));
        }
        for (int j = 0; j < around; ++j)
            builder.addTriangleFacing(centre, rim[j], rim[(j + 1) % around], facing);
    }
}

// One petal-shaped lobe of a wing, fanned out from `root` in the xy plane:
// `direction` is the angle of its tip above the x axis, `halfAngle` how far
// it opens to either side, `length` the distance from root to tip.
struct Lobe {
    double direction;
    double halfAngle;
    double length;
};

void addWingLobe(ObjBuilder& builder, const Lobe& lobe, double side)
{
    const glm::dvec3 root(side * 0.05, 0.0, 0.0);
    // Radius along the lobe's outline, zero at both edges, full at the tip.
    const auto outline = [&](double s) {
        const double c = std::cos(0.5 * kPi * std::clamp(s, -1.0, 1.0));
        return lobe.length * std::pow(std::max(c, 0.0), 0.55);
    };
    const Surface surface = [&](double u, double v) {
        // Starting just off the root and the edges keeps every triangle from
        // collapsing to a point where the outline meets the root.
        const double radial = 0.04 + 0.96 * u;
        const double s = -0.97 + 1.94 * v;  // across the lobe
        const double angle = radians(lobe.direction + s * lobe.halfAngle);
        const double r = radial * outline(s);
        const double x = r * std::cos(angle);
        const double y = r * std::sin(angle);
        // Swept back: the further out, the further behind the fairy.
        return root + glm::dvec3(side * x, y, -0.3 * x);
    };
    addTwoSidedSheet(builder, surface, 6, 12, 0.02, {0.0, 0.0, 1.0});
}

}  // namespace

ObjBuilder buildWings()
{
    ObjBuilder builder;
    const Lobe upper{25.0, 32.0, 2.7};
    const Lobe lower{-32.0, 24.0, 1.55};
    for (double side : {-1.0, 1.0}) {
        addWingLobe(builder, upper, side);
        addWingLobe(builder, lower, side);
    }
    return builder;
}

ObjBuilder buildFlag()
{
    ObjBuilder builder;
    // In the level the flag stands 2 world units (4 model units) above the
    // cloud's centre, whose top is about 0.38 world units above that centre:
    // the pole reaches down to -3.4 so that it stands in the cloud.
    const double poleBottom = -3.4;
    const double poleTop = 4.0;
    const double poleRadius = 0.05;
    addPole(builder, poleRadius, poleBottom, poleTop, 16);
    addPuff(builder, {0.0, poleTop + 0.06, 0.0}, {0.11, 0.11, 0.11}, 0.11, 12, 8);

    const double width = 2.4;
    const double height = 1.6;
    const double clothTop = 3.9;
    const Surface cloth = [&](double u, double v) {
        const double x = poleRadius + width * u;
        const double y = clothTop - height * v - 0.12 * u * u;  // the free end sags a little
        const double z = 0.22 * u * std::sin(2.0 * kPi * 1.1 * u - 0.6 * v);
        return glm::dvec3(x, y, z);
    };
    addTwoSidedSheet(builder, cloth, 24, 10, 0.016, {0.0, 0.0, 1.0});
    return builder;
}

ObjBuilder buildCloud()
{
    struct Puff {
        glm::dvec3 centre;
        glm::dvec3 radii;
        double radiusBelow;
    };
    const Puff puffs[] = {
        {{0.0, 0.0, 0.0}, {210.0, 150.0, 170.0}, 90.0},
        {{-200.0, -25.0, 30.0}, {165.0, 100.0, 140.0}, 60.0},
        {{205.0, -30.0, -20.0}, {170.0, 95.0, 135.0}, 60.0},
        {{-95.0, 15.0, -85.0}, {130.0, 105.0, 105.0}, 60.0},
        {{110.0, 10.0, 90.0}, {135.0, 100.0, 110.0}, 60.0},
        {{-300.0, -45.0, -40.0}, {90.0, 60.0, 80.0}, 40.0},
    };
    ObjBuilder builder;
    for (const Puff& puff : puffs)
        addPuff(builder, puff.centre, puff.radii, puff.radiusBelow, 18, 10);
    // Centre the whole cloud on the origin.
    builder.translate(-0.5 * (builder.boundsMin() + builder.boundsMax()));
    return builder;
}
