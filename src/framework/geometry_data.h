// CPU-side indexed triangle meshes and the four shape generators (sphere,
// torus, square grid, open tube). Plain data only: uploading to GL is the
// job of Geometry.
#pragma once

#include <cstdint>
#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

struct GeometryData {
    std::vector<glm::vec3> positions;     // attribute 0
    std::vector<uint32_t> indices;        // element buffer, triangles
    std::vector<glm::vec3> extraVectors;  // attribute 4, uploaded only when filled
    std::vector<glm::vec3> normals;       // attribute 1
    std::vector<glm::vec2> uvs;           // attribute 2
    std::vector<glm::vec2> lightmapUVs;   // attribute 3, uploaded only when filled
};

// UV sphere of radius `radius` around the origin, the two poles first, then
// latitudeSegments - 1 rings without a seam column. Counter-clockwise from
// outside. Needs latitudeSegments >= 2 and longitudeSegments >= 1; anything
// smaller gives an empty mesh.
GeometryData createSphereGeometry(unsigned longitudeSegments, unsigned latitudeSegments, float radius);

// Torus around the y axis lying in the xz plane, seams duplicated. Its
// triangles wind clockwise seen from outside while its normals point
// outwards. Zero segments in either direction give an empty mesh.
GeometryData createTorusGeometry(unsigned ringSegments, unsigned tubeSegments, float ringRadius,
                                 float tubeRadius);

// Square grid in the plane y = 0 from -halfSize to +halfSize in x and z,
// normals +y, counter-clockwise seen from +y. subdivisions <= 0 gives an
// empty mesh.
GeometryData createPlaneGeometry(int subdivisions, float halfSize);

// Open cylinder around the y axis from -height/2 to +height/2, no caps, seam
// duplicated, bottom ring first. Counter-clockwise from outside. Zero
// segments give an empty mesh.
GeometryData createTubeGeometry(unsigned segments, float height, float radius);
