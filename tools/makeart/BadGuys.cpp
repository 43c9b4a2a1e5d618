// The bad guys: energy parasites that come at the player out of the star field. The game
// shrinks them down to a few pixels at first, so each kind has its own silhouette and colours
// and the two frames differ in a large, obvious movement.
#include "Artwork.h"
#include "PixelArt.h"

#include <array>
#include <cmath>
#include <numbers>

namespace makeart {

namespace {

constexpr int FrameSize = 50;
constexpr double Middle = FrameSize / 2.0;

Mask emptyMask() {
    return Mask(FrameSize, FrameSize);
}

// Ends a frame: the outline, then no pixel left that the game could take for a hole.
QImage finished(QImage frame) {
    outline(frame, 0.3);
    liftBlacks(frame);
    return frame;
}

// Kind 0: a jellyfish of green light. It pumps: the bell squeezes wide and flat with its
// tendrils curled up, then stretches tall with the tendrils trailing long.
QImage jellyfish(bool stretched) {
    const Ramp bellColours = ramp({0x0c3b2c, 0x146448, 0x1f9159, 0x3cc46c, 0x8ef08e, 0xe2ffd0});
    const Ramp tendrilColours = ramp({0x0f3a2a, 0x1b6a45, 0x2fa35e, 0x6edb86});
    const Ramp armColours = ramp({0x2a3a10, 0x4f7a18, 0x86b82a, 0xc8ec5a});
    const Ramp coreColours = ramp({0x4ee05a, 0xa8ff6a, 0xeaffb0, 0xffffff});

    const double cy = stretched ? 15 : 18;
    const double rx = stretched ? 15 : 19;
    const double ry = stretched ? 15 : 13;
    const double rim = cy + ry * 0.3;
    QImage frame = emptyFrame(FrameSize, FrameSize);

    // Tendrils first, so the bell's rim lies over their roots.
    Mask tendrils = emptyMask();
    Mask tips = emptyMask();
    for (int i = 0; i < 3; ++i) {
        const double phase = i * 1.9;
        auto bend = [&](double s) {
            if (stretched) {
                return 7.0 * std::sin(s * 2 * std::numbers::pi * 1.3 + phase);
            }
            return s < 0.3 ? 0.0 : 15.0; // hangs, then rolls up outwards into a loop
        };
        const QPointF root(Middle - (4.5 + i * 5) * rx / 19, rim - 0.5);
        const double heading = stretched ? 93 + i * 5 : 96 + i * 12;
        const double length = stretched ? 30 - i * 3 : 24 - i * 3;
        const std::vector<QPointF> path = turtle(root, heading, length, bend);
        tendrils.add(stroke(path, 1.6, 0.8));
        tips.add(disc(path.back(), 1.4));
    }
    tendrils.mirror();
    tips.mirror();
    paintShaded(frame, tendrils, tendrilColours, {.roundness = 1.5, .ambient = 0.3});

    // The two frilled mouth arms in the middle.
    Mask arms = emptyMask();
    const double armLength = stretched ? 20 : 13;
    const std::vector<QPointF> arm = turtle({Middle - 2.5, rim - 1}, 92, armLength, [&](double s) {
        return (stretched ? 5.0 : 16.0) * std::sin(s * 9);
    });
    arms.add(stroke(arm, 2.6, 1.0)).mirror();
    paintShaded(frame, arms, armColours, {.roundness = 2, .ambient = 0.3});

    Mask bell = emptyMask();
    bell.add(ellipse({Middle, cy}, rx, ry)).remove(halfPlaneBelow(rim));
    paintShaded(frame, bell, bellColours, {.roundness = 7, .shine = 0.45});
    // A darker frill of scalloped lobes along the rim.
    Mask frill = emptyMask();
    for (double x = 2.5; x < rx * 0.95; x += 5) {
        frill.add(disc({Middle - x, rim - 0.2}, 2.4));
    }
    frill.mirror().remove(bell);
    paintShaded(frame, frill, Ramp(bellColours.begin(), bellColours.begin() + 4),
                {.roundness = 2, .ambient = 0.3});

    // The glowing heart shows through the bell.
    Mask core = emptyMask();
    const double coreY = cy + ry * 0.02;
    core.add(disc({Middle, coreY}, 5.2));
    spillLight(frame, core, QColor(0x9c, 0xff, 0x70), 3, 0.45);
    paintGlow(frame, core, coreColours, 3);

    // Tendril tips and a ring of specks around the bell glow as well.
    Mask specks = emptyMask();
    for (int i = 0; i < 4; ++i) {
        const double angle = (200 + i * 22) * std::numbers::pi / 180;
        specks.add(
            disc({Middle + std::cos(angle) * rx * 0.72, cy + std::sin(angle) * ry * 0.72}, 0.8));
    }
    specks.mirror();
    paintFlat(frame, specks, QColor(0xd8, 0xff, 0xa0));
    paintGlow(frame, tips, coreColours, 1.5);
    return finished(frame);
}

// Kind 1: a purple bat with one huge glowing eye. Its wings beat from a raised V down to a
// drooping cape.
QImage bat(bool wingsDown) {
    const Ramp furColours = ramp({0x1e0c30, 0x3b1a5c, 0x60308a, 0x8c55b8, 0xb98be0});
    const Ramp membraneColours = ramp({0x2a0838, 0x4a1462, 0x72248a, 0xa044b0, 0xd07ad8});
    const Ramp boneColours = ramp({0x5a2e80, 0x9a6cc4, 0xdcc4f4});
    const Ramp eyeColours = ramp({0xff5a18, 0xffb030, 0xfff0a0});

    struct Pose {
        QPointF wrist;
        std::array<QPointF, 3> tips;
    };
    const Pose pose = wingsDown ? Pose{{7, 28}, {{{0, 37}, {5, 46}, {14, 44}}}}
                                : Pose{{8, 10}, {{{1, 1}, {0, 19}, {7, 30}}}};
    const QPointF shoulder(18, 23);
    const QPointF flank(21, 32);
    QImage frame = emptyFrame(FrameSize, FrameSize);

    // The membrane between the fingers sags towards the wrist.
    auto sag = [&](QPointF a, QPointF b, double depth) {
        const QPointF halfway = (a + b) / 2;
        return halfway + (pose.wrist - halfway) * depth;
    };
    QPolygonF membrane{shoulder, pose.wrist, pose.tips[0]};
    for (std::size_t i = 1; i < pose.tips.size(); ++i) {
        membrane << sag(pose.tips[i - 1], pose.tips[i], 0.3) << pose.tips[i];
    }
    membrane << sag(pose.tips[2], flank, 0.25) << flank;
    Mask wings = emptyMask();
    wings.add(polygon(membrane)).mirror();
    paintShaded(frame, wings, membraneColours, {.roundness = 2.5, .ambient = 0.3, .shine = 0.1});

    Mask bones = emptyMask();
    bones.add(stroke({shoulder, pose.wrist}, 1.5, 1.1));
    for (const QPointF &tip : pose.tips) {
        bones.add(stroke({pose.wrist, tip}, 0.9, 0.7));
    }
    // A hooked thumb claw at the wrist.
    bones.add(stroke({pose.wrist, pose.wrist + QPointF(-1, -3.5), pose.wrist + QPointF(1, -4.5)},
                     1.0, 0.7));
    bones.mirror();
    paintShaded(frame, bones, boneColours, {.roundness = 1, .ambient = 0.35, .shine = 0.2});

    Mask body = emptyMask();
    body.add(ellipse({Middle, 25}, 8.5, 10));
    body.add(polygon({{17.5, 20}, {15.5, 9}, {22.5, 17}}));         // ears
    body.add(stroke({{22, 34}, {21, 38}, {19.5, 39.5}}, 1.4, 0.8)); // feet
    body.mirror();
    paintShaded(frame, body, furColours, {.roundness = 6, .shine = 0.25});

    Mask eye = emptyMask();
    eye.add(disc({Middle, 24}, 5));
    Mask iris = emptyMask();
    iris.add(disc({Middle, 24}, 3.2));
    Mask pupil = emptyMask();
    pupil.add(ellipse({Middle, 24}, 0.9, 3));
    spillLight(frame, eye, QColor(0xff, 0x90, 0x40), 2, 0.4);
    paintGlow(frame, eye, eyeColours, 3);
    paintFlat(frame, iris, QColor(0xd0, 0x20, 0x30));
    paintFlat(frame, pupil, QColor(0x2a, 0x06, 0x10));

    Mask fangs = emptyMask();
    fangs.add(polygon({{21.5, 31}, {23.5, 31}, {22.5, 34.5}})).mirror();
    paintFlat(frame, fangs, QColor(0xf4, 0xec, 0xfa));
    return finished(frame);
}

// Kind 2: an amber beetle. In flight its wing cases swing apart and the glowing membranes
// underneath flare out; folded, they only peek out at the sides.
QImage beetle(bool spread) {
    const Ramp shellColours = ramp({0x240a04, 0x4e1a06, 0x86320a, 0xbc5612, 0xe88a24, 0xffc860});
    const Ramp legColours = ramp({0x2e1206, 0x5a2a0e, 0x8e4a1a, 0xc07a34});
    const Ramp membraneColours = spread ? ramp({0xd06a10, 0xffa828, 0xffe070, 0xfffbd0})
                                        : ramp({0x6a2606, 0x8e3e0c, 0xb05a16});
    const Lighting shellLight{.roundness = 4.5, .ambient = 0.12, .diffuse = 0.75, .shine = 0.55};
    QImage frame = emptyFrame(FrameSize, FrameSize);

    Mask legs = emptyMask();
    for (int i = 0; i < 3; ++i) {
        const double lift = spread ? -2 : 1;
        const QPointF root(Middle - 6, 19 + i * 7);
        const QPointF knee(Middle - 15, root.y() - 4 + i * 3 + lift);
        const QPointF foot(Middle - 18 + i, knee.y() + 6 + lift);
        legs.add(stroke({root, knee}, 1.4, 1.1)).add(stroke({knee, foot}, 1.1, 0.75));
    }
    legs.mirror();
    paintShaded(frame, legs, legColours, {.roundness = 1.2, .ambient = 0.3});

    Mask membranes = emptyMask();
    if (spread) {
        membranes.add(ellipse({10, 21}, 11, 5.5, 22)).add(ellipse({11, 33}, 9.5, 5, -22));
    } else {
        membranes.add(ellipse({15.5, 35}, 4, 8, 15));
    }
    membranes.mirror();
    Mask veins = emptyMask();
    const QPointF root(Middle - 6, 27);
    for (int i = 0; i < 5; ++i) {
        const double angle = (spread ? 150 + i * 14.0 : 100 + i * 12.0) * std::numbers::pi / 180;
        veins.add(stroke({root, root + QPointF(std::cos(angle), -std::sin(angle)) * 24}, 0.5, 0.5));
    }
    veins.mirror().keep(membranes);
    paintGlow(frame, membranes, membraneColours, spread ? 4 : 2.5);
    paintFlat(frame, veins, spread ? QColor(0xc8, 0x5a, 0x10) : QColor(0x4a, 0x1a, 0x04));

    Mask head = emptyMask();
    head.add(ellipse({Middle, 10}, 5, 4));
    head.add(stroke(bezier({22.5, 7.5}, {20, 6}, {20, 3.5}, {22.5, 3}), 1.3, 0.6)); // pincers
    head.add(stroke(bezier({21.5, 7}, {17, 4}, {14, 4}, {12, 1.5}), 0.6, 0.6));     // feelers
    head.add(disc({12, 1.5}, 1.1));
    head.mirror();
    paintShaded(frame, head, legColours, {.roundness = 3});

    if (spread) {
        // The ringed, glowing body between the parted wing cases.
        Mask abdomen = emptyMask();
        abdomen.add(ellipse({Middle, 31}, 5, 11));
        paintGlow(frame, abdomen, membraneColours, 3);
        Mask rings = emptyMask();
        for (int i = 0; i < 4; ++i) {
            rings.add(ellipse({Middle, 25.5 + i * 4}, 6, 0.5));
        }
        rings.keep(abdomen);
        paintFlat(frame, rings, QColor(0xc8, 0x5a, 0x10));
    }

    // The shell: a shield behind the head and two wing cases that swing apart in flight.
    Mask cases = emptyMask();
    const double gap = spread ? 0.8 : 0.3;
    if (spread) {
        cases.add(ellipse({Middle - 8.5, 28}, 6.5, 12.5, 16));
    } else {
        cases.add(ellipse({Middle - 5.8, 29}, 6.8, 13));
    }
    cases.keep([&](QPointF p) { return p.x() < Middle - gap; });
    cases.mirror();
    Mask shield = emptyMask();
    shield.add(ellipse({Middle, 16}, 9, 5.5));
    paintShaded(frame, cases, shellColours, shellLight);
    paintShaded(frame, shield, shellColours, shellLight);

    Mask spots = emptyMask();
    const QPointF shift = spread ? QPointF(-3, 0) : QPointF(0, 0);
    spots.add(disc(QPointF(Middle - 6.5, 25) + shift, 1.6));
    spots.add(disc(QPointF(Middle - 5, 33) + shift * 1.6, 1.9));
    spots.mirror().keep(cases);
    paintShaded(frame, spots, ramp({0x1e0802, 0x3a1404, 0x5e2208}), shellLight, &cases);

    Mask eyes = emptyMask();
    eyes.add(disc({Middle - 3, 10}, 1.3)).mirror();
    paintGlow(frame, eyes, ramp({0xe0200c, 0xff6a2a}), 1.2);
    return finished(frame);
}

// Kind 3: a teal ray around a bright core. Its wing tips sweep from high and forward to low
// and back.
QImage ray(bool wingsDown) {
    const Ramp bodyColours = ramp({0x062a30, 0x0c4a52, 0x13737a, 0x1fa6a6, 0x4fd6cc, 0xaef5ea});
    const Ramp coreColours = ramp({0x1a9ad0, 0x2fd0ff, 0x9ff0ff, 0xffffff});
    const Ramp tailColours = ramp({0x083a40, 0x16707a, 0x3cb8b8});
    QImage frame = emptyFrame(FrameSize, FrameSize);

    const QPointF tip = wingsDown ? QPointF(1.5, 34) : QPointF(3, 8);
    const QPointF head(Middle, 12);
    const QPointF back(Middle, 34);
    const std::vector<QPointF> leading =
        bezier(head, {17, 6}, wingsDown ? QPointF(5, 15) : QPointF(8, 4), tip);
    const std::vector<QPointF> trailing =
        bezier(tip, wingsDown ? QPointF(11, 29) : QPointF(9, 22), {15, 34}, back);
    std::vector<QPointF> edge = leading;
    edge.insert(edge.end(), trailing.begin(), trailing.end());

    Mask tail = emptyMask();
    const std::vector<QPointF> tailPath =
        turtle(back, 90, 14, [&](double s) { return (wingsDown ? 9.0 : -9.0) * std::sin(s * 6); });
    tail.add(stroke(tailPath, 1.5, 0.75));
    paintShaded(frame, tail, tailColours, {.roundness = 1});

    // Thin wings, then the thick body on top of them, so a seam sets the two apart.
    Mask wings = emptyMask();
    wings.add(polygon(QPolygonF(edge.begin(), edge.end()))).mirror();
    paintShaded(frame, wings, bodyColours, {.roundness = 3, .ambient = 0.14, .dither = 0.25});
    Mask band = emptyMask();
    band.add(stroke(leading, 1.6, 1.0)).mirror().keep(wings);
    paintShaded(frame, band, Ramp(bodyColours.begin() + 2, bodyColours.end()),
                {.roundness = 3, .ambient = 0.14, .dither = 0.25}, &wings);
    // Glowing dots in dark rings along each wing.
    Mask dotRings = emptyMask();
    Mask dots = emptyMask();
    const std::array<QPointF, 3> spots =
        wingsDown ? std::array<QPointF, 3>{{{16, 21}, {10.5, 24}, {6, 28}}}
                  : std::array<QPointF, 3>{{{16, 17}, {11, 13.5}, {7, 10.5}}};
    for (const QPointF &at : spots) {
        dotRings.add(disc(at, 2.3));
        dots.add(disc(at, 1.4));
    }
    dotRings.mirror().keep(wings);
    dots.mirror().keep(wings);
    paintFlat(frame, dotRings, bodyColours[1]);
    paintGlow(frame, dots, ramp({0x5ff0e8, 0xd8fffa}), 1.2);

    Mask body = emptyMask();
    body.add(ellipse({Middle, 23}, 8, 13));
    // Curled fins on either side of the mouth.
    body.add(stroke(bezier({22.5, 12}, {19, 9}, {18.5, 5}, {21.5, 3.5}), 1.9, 1.0));
    body.mirror();
    paintShaded(frame, body, bodyColours, {.roundness = 5, .ambient = 0.2, .shine = 0.4});

    Mask socket = emptyMask();
    socket.add(disc({Middle, 22}, 6.2));
    Mask core = emptyMask();
    core.add(disc({Middle, 22}, 4.8));
    spillLight(frame, socket, QColor(0x60, 0xe0, 0xff), 3, 0.4);
    paintFlat(frame, socket, QColor(0x06, 0x26, 0x30));
    paintGlow(frame, core, coreColours, 3.5);

    Mask sting = emptyMask();
    sting.add(disc(tailPath.back(), 1.5));
    paintGlow(frame, sting, coreColours, 1.5);
    return finished(frame);
}

} // namespace

QImage drawBadGuy(int kind) {
    using Draw = QImage (*)(bool);
    constexpr std::array<Draw, 4> kinds{jellyfish, bat, beetle, ray};
    const Draw draw = kinds.at(static_cast<std::size_t>(kind));
    return strip({draw(false), draw(true)});
}

} // namespace makeart
