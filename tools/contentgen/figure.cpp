#include "contentgen/figure.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "contentgen/brush.h"
#include "contentgen/prng.h"

namespace contentgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

Colour colourField(const Fields& f, const std::string& key)
{
    auto v = f.numbers(key, 3);
    for (double c : v)
        if (c < 0 || c > 31) throw std::runtime_error(f.where() + ": " + key + " channels are 0..31");
    Colour c = rgb5(static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]));
    if (c == kMagenta) throw std::runtime_error(f.where() + ": " + key + " is the transparent magenta");
    return c;
}

struct Pt {
    double f = 0, u = 0;  // forward, up
};
Pt operator+(Pt a, Pt b) { return {a.f + b.f, a.u + b.u}; }
Pt operator-(Pt a, Pt b) { return {a.f - b.f, a.u - b.u}; }
Pt operator*(Pt a, double k) { return {a.f * k, a.u * k}; }

Pt bone(double degrees, double length)
{
    double a = degrees * kPi / 180.0;
    return {length * std::sin(a), -length * std::cos(a)};
}

Pt unit(Pt v)
{
    double l = std::hypot(v.f, v.u);
    return l > 0 ? v * (1.0 / l) : Pt{1, 0};
}

struct Limb {
    Pt root, mid, end, tip;  // shoulder/hip, elbow/knee, wrist/ankle, fist/toe
};

struct Skeleton {
    Pt pelvis, chest, neckTop, head;
    Limb armF, armB, legF, legB;
};

enum class Part { None, FistF, FistB, FootF, FootB, Blob };

Part partNamed(const std::string& name, const std::string& where)
{
    if (name == "fistF") return Part::FistF;
    if (name == "fistB") return Part::FistB;
    if (name == "footF") return Part::FootF;
    if (name == "footB") return Part::FootB;
    if (name == "blob") return Part::Blob;
    throw std::runtime_error(where + ": unknown body part " + name +
                             " (fistF, fistB, footF, footB or blob)");
}

// Everything needed to draw one pose into the picture and its planes.
class Painter {
public:
    Painter(const Figure& fig, const PoseLine& pose)
        : fig_(fig), pose_(pose), pic_(fig.width, fig.height, kMagenta),
          body_(static_cast<std::size_t>(fig.width) * fig.height, 0), core_(body_.size(), 0),
          strike_(body_.size(), 0)
    {
    }

    PosedPicture run();

private:
    double x(Pt p) const { return fig_.hotspotX - p.f; }
    double y(Pt p) const { return fig_.hotspotY - p.u; }
    Plot marker(std::vector<std::uint8_t>& plane, std::uint8_t value, std::vector<std::uint8_t>* also = nullptr)
    {
        return [this, &plane, value, also](int px, int py) {
            std::size_t i = static_cast<std::size_t>(py) * fig_.width + px;
            plane[i] = value;
            if (also) (*also)[i] = value;
        };
    }
    Prng rngFor(const std::string& part) const { return Prng(seedFrom(part, fig_.seed)); }
    double spineAngle() const { return pose_.fields.number("spine", 175); }
    double neckAngle() const { return pose_.fields.number("neck", spineAngle()); }

    Skeleton pose() const;
    void stroke(const std::string& part, Pt a, double ra, Pt b, double rb, const Ink& ink, double dry,
                bool core = false);
    void drawLimb(const std::string& part, const Limb& limb, double r0, double r1, double r2,
                  double tipRadius, bool isArm, const Ink& ink);
    void drawPlume(const Skeleton& s);
    void drawBelt(const Skeleton& s);
    void drawHead(const Skeleton& s);
    void drawHat(const Skeleton& s);
    void drawScarf(const Skeleton& s);
    void markStrike(const Skeleton& s, Part part, int value);
    void drawBlobs(bool strike, int value);
    void drawEffects(const Skeleton& s);

    const Figure& fig_;
    const PoseLine& pose_;
    Raster pic_;
    std::vector<std::uint8_t> body_, core_, strike_;
    std::vector<double> blobs_;
};

Skeleton Painter::pose() const
{
    const Fields& p = pose_.fields;
    auto pair = [&](const char* key) { return p.numbers(key, 2); };
    const double spineA = spineAngle(), neckA = neckAngle();
    const auto armF = pair("armF"), armB = pair("armB"), legF = pair("legF"), legB = pair("legB");

    Skeleton s;
    s.pelvis = {p.number("shift", 0), 0};
    s.chest = s.pelvis + bone(spineA, fig_.spine);
    s.neckTop = s.chest + bone(neckA, fig_.neck);
    s.head = s.neckTop + bone(neckA, fig_.head * 0.85);
    const Pt shoulder = s.chest - bone(spineA, fig_.torsoChest * 0.45);
    auto arm = [&](Pt root, const std::vector<double>& a) {
        Limb l;
        l.root = root;
        l.mid = root + bone(a[0], fig_.upper);
        l.end = l.mid + bone(a[1], fig_.fore);
        l.tip = l.end + bone(a[1], fig_.fist * 0.55);
        return l;
    };
    auto leg = [&](Pt root, const std::vector<double>& a, double footA) {
        Limb l;
        l.root = root;
        l.mid = root + bone(a[0], fig_.thigh);
        l.end = l.mid + bone(a[1], fig_.shin);
        l.tip = l.end + bone(footA, fig_.foot);
        return l;
    };
    s.armF = arm(shoulder + Pt{2, 0}, armF);
    s.armB = arm(shoulder + Pt{-3, -1}, armB);
    s.legF = leg(s.pelvis + Pt{3, 0}, legF, p.number("footF", legF[1] + 90));
    s.legB = leg(s.pelvis + Pt{-3, 0}, legB, p.number("footB", legB[1] + 90));

    // Stand the lowest point of the figure on the ground (plus any lift).
    double lowest = 1e9;
    auto low = [&](Pt q, double r) { lowest = std::min(lowest, q.u - r); };
    low(s.pelvis, fig_.torsoHip);
    low(s.chest, fig_.torsoChest);
    low(s.head, fig_.head);
    for (const Limb* l : {&s.armF, &s.armB}) {
        low(l->mid, fig_.armElbow);
        low(l->tip, fig_.fist);
    }
    for (const Limb* l : {&s.legF, &s.legB}) {
        low(l->mid, fig_.legKnee);
        low(l->end, fig_.legAnkle);
        low(l->tip, fig_.legAnkle * 0.7);
    }
    const Pt up{0, p.number("lift", 0) - lowest};
    for (Pt* q : {&s.pelvis, &s.chest, &s.neckTop, &s.head}) *q = *q + up;
    for (Limb* l : {&s.armF, &s.armB, &s.legF, &s.legB})
        for (Pt* q : {&l->root, &l->mid, &l->end, &l->tip}) *q = *q + up;
    return s;
}

void Painter::stroke(const std::string& part, Pt a, double ra, Pt b, double rb, const Ink& ink, double dry,
                     bool core)
{
    Prng rng = rngFor(part);
    Plot shape = marker(body_, 31, core ? &core_ : nullptr);
    brushStroke(pic_, x(a), y(a), ra, x(b), y(b), rb, ink, dry, rng, &shape);
}

void Painter::drawLimb(const std::string& part, const Limb& l, double r0, double r1, double r2,
                       double tipRadius, bool isArm, const Ink& ink)
{
    stroke(part + ".upper", l.root, r0, l.mid, r1, ink, 0.45);
    stroke(part + ".lower", l.mid, r1 * 1.05, l.end, r2, ink, 0.55);
    Plot shape = marker(body_, 31);
    if (isArm) {
        Prng rng = rngFor(part + ".fist");
        blot(pic_, x(l.tip), y(l.tip), tipRadius, ink.solid, rng, &shape);
    } else {
        stroke(part + ".foot", l.end, r2, l.tip, r2 * 0.7, ink, 0.2);
    }
}

void Painter::drawPlume(const Skeleton& s)
{
    if (fig_.plume <= 0) return;
    const double a = pose_.fields.number("plume", -115);
    Pt root = s.head + bone(a, fig_.head * 0.7);
    Pt mid = root + bone(a + 12, fig_.plume * 0.55);
    Pt end = mid + bone(a + 28, fig_.plume * 0.45);
    Prng rng = rngFor("plume");
    Ink vane{fig_.wash, fig_.washStreak};
    brushStroke(pic_, x(root), y(root), 3.5, x(mid), y(mid), 7.5, vane, 0.4, rng);
    brushStroke(pic_, x(mid), y(mid), 7.5, x(end), y(end), 1.5, vane, 0.7, rng);
    Ink quillShaft{fig_.ink, fig_.ink};
    brushStroke(pic_, x(root), y(root), 1.6, x(mid), y(mid), 1.1, quillShaft, 0, rng);
    brushStroke(pic_, x(mid), y(mid), 1.1, x(end), y(end), 0.6, quillShaft, 0, rng);
}

void Painter::drawBelt(const Skeleton& s)
{
    if (!fig_.belt) return;
    Pt along = unit(s.chest - s.pelvis);
    Pt across{along.u, -along.f};
    Pt c = s.pelvis + along * (fig_.torsoHip * 0.5);
    Prng rng = rngFor("belt");
    Ink sash{fig_.accent, fig_.accent};
    Pt a = c + across * (fig_.torsoHip * 1.1), b = c - across * (fig_.torsoHip * 1.1);
    brushStroke(pic_, x(a), y(a), 3.6, x(b), y(b), 3.6, sash, 0, rng);
    // Two tails fly from the knot at the back.
    Pt knot = c + Pt{-fig_.torsoHip * 0.9, 0};
    double sway = pose_.fields.number("sash", -125);
    for (int i = 0; i < 2; ++i) {
        Pt end = knot + bone(sway + i * 18, 20 - i * 4);
        brushStroke(pic_, x(knot), y(knot), 3.0, x(end), y(end), 1.2, sash, 0.3, rng);
    }
}

void Painter::drawHead(const Skeleton& s)
{
    stroke("neck", s.chest, fig_.torsoChest * 0.5, s.neckTop, fig_.torsoChest * 0.42,
           Ink{fig_.ink, fig_.ink}, 0, true);
    Prng rng = rngFor("head");
    Plot shape = marker(body_, 31, &core_);
    if (fig_.topknot > 0) {
        Pt knot = s.head + bone(neckAngle() - 125, fig_.head * 0.95);
        blot(pic_, x(knot), y(knot), fig_.topknot, fig_.ink, rng, &shape);
    }
    blot(pic_, x(s.head), y(s.head), fig_.head, fig_.ink, rng, &shape);
    // The eye looks forward along the face.
    Pt face = unit(bone(neckAngle() - 90, 1));
    Pt eye = s.head + face * (fig_.head * 0.45) + bone(neckAngle(), fig_.head * 0.12);
    const std::string look = pose_.fields.text("eye", "open");
    if (look == "open") {
        fillEllipse(pic_.width(), pic_.height(), x(eye), y(eye), fig_.head * 0.26, fig_.head * 0.13,
                    pic_.painter(fig_.paper));
    } else if (look == "shut") {
        Prng r2 = rngFor("eye");
        Pt a = eye - face * (fig_.head * 0.2), b = eye + face * (fig_.head * 0.25);
        brushStroke(pic_, x(a), y(a), 1.3, x(b), y(b), 1.0, Ink{fig_.paper, fig_.paper}, 0, r2);
    } else {
        throw std::runtime_error(pose_.fields.where() + ": eye= is open or shut");
    }
}

void Painter::drawHat(const Skeleton& s)
{
    if (fig_.hat <= 0) return;
    // A flat cone sitting on the crown, its brim across the neck's line.
    const Pt up = unit(bone(neckAngle(), 1));
    const Pt across = unit(bone(neckAngle() - 90, 1));
    const Pt crown = s.head + up * (fig_.head * 0.55);
    const Pt brimF = crown + across * fig_.hat - up * 2.0, brimB = crown - across * fig_.hat - up * 2.0;
    const Pt apex = crown + up * (fig_.hat * 0.42) - across * 2.0;
    // Straw, not the body: a blow to the brim does not count.
    fillPolygon(pic_.width(), pic_.height(), {x(brimF), y(brimF), x(apex), y(apex), x(brimB), y(brimB)},
                pic_.painter(fig_.wash));
    Prng rng = rngFor("hat");
    const Ink rim{fig_.ink, fig_.streak};
    brushStroke(pic_, x(brimF), y(brimF), 1.2, x(brimB), y(brimB), 2.6, rim, 0.2, rng);
    brushStroke(pic_, x(brimF), y(brimF), 1.0, x(apex), y(apex), 1.6, rim, 0.5, rng);
    brushStroke(pic_, x(apex), y(apex), 1.6, x(brimB), y(brimB), 1.0, rim, 0.5, rng);
    // Woven bands on the straw.
    for (int i = 1; i <= 2; ++i) {
        const double k = i / 3.0;
        const Pt a = brimF + (apex - brimF) * k, b = brimB + (apex - brimB) * k;
        brushStroke(pic_, x(a), y(a), 0.7, x(b), y(b), 0.7, Ink{fig_.washStreak, fig_.washStreak}, 0, rng);
    }
}

void Painter::drawScarf(const Skeleton& s)
{
    if (fig_.scarf <= 0) return;
    // Two tails streaming back from a knot at the throat.
    const double a = pose_.fields.number("scarf", -100);
    const Pt knot = s.neckTop + (s.chest - s.neckTop) * 0.35;
    Prng rng = rngFor("scarf");
    const Ink cloth{fig_.accent, fig_.accent};
    for (int i = 0; i < 2; ++i) {
        const double len = fig_.scarf * (1.0 - 0.3 * i);
        const Pt mid = knot + bone(a + 8 - 14 * i, len * 0.5);
        const Pt end = mid + bone(a + 22 - 20 * i, len * 0.5);
        brushStroke(pic_, x(knot), y(knot), 3.4, x(mid), y(mid), 3.0, cloth, 0.1, rng);
        brushStroke(pic_, x(mid), y(mid), 3.0, x(end), y(end), 1.0, cloth, 0.5, rng);
    }
    const Pt wrapF = knot + bone(neckAngle() - 90, fig_.torsoChest * 0.5);
    const Pt wrapB = knot - bone(neckAngle() - 90, fig_.torsoChest * 0.5);
    brushStroke(pic_, x(wrapB), y(wrapB), 3.6, x(wrapF), y(wrapF), 3.6, cloth, 0, rng);
}

void Painter::markStrike(const Skeleton& s, Part part, int value)
{
    Plot mark = marker(strike_, static_cast<std::uint8_t>(value));
    const int w = pic_.width(), h = pic_.height();
    auto segment = [&](Pt a, Pt b, double r) { fillTaperedSegment(w, h, x(a), y(a), r, x(b), y(b), r, mark); };
    switch (part) {
    case Part::FistF:
    case Part::FistB: {
        const Limb& l = part == Part::FistF ? s.armF : s.armB;
        fillDisc(w, h, x(l.tip), y(l.tip), fig_.fist + 2, mark);
        segment(l.mid + (l.end - l.mid) * 0.55, l.end, fig_.armWrist + 2);
        break;
    }
    case Part::FootF:
    case Part::FootB: {
        const Limb& l = part == Part::FootF ? s.legF : s.legB;
        segment(l.end, l.tip, fig_.legAnkle + 2);
        segment(l.mid + (l.end - l.mid) * 0.6, l.end, fig_.legAnkle + 2);
        break;
    }
    case Part::Blob:
        drawBlobs(true, value);
        break;
    case Part::None:
        break;
    }
}

void Painter::drawBlobs(bool strike, int value)
{
    for (std::size_t i = 0; i + 2 < blobs_.size(); i += 4) {
        Pt head{blobs_[i], blobs_[i + 1]};
        const double r = blobs_[i + 2], tail = blobs_[i + 3];
        Pt back = head - Pt{tail, 0};
        if (strike) {
            Plot mark = marker(strike_, static_cast<std::uint8_t>(value));
            fillTaperedSegment(pic_.width(), pic_.height(), x(back), y(back), r * 0.4, x(head), y(head), r, mark);
            continue;
        }
        Prng rng = rngFor(pose_.name + ".blob" + std::to_string(i));
        brushStroke(pic_, x(back), y(back), r * 0.35, x(head), y(head), r, Ink{fig_.ink, fig_.streak}, 0.2, rng);
        blot(pic_, x(head), y(head), r, fig_.ink, rng);
        splatter(pic_, x(back), y(back), 1, 0, 5, r * 2.5, r * 0.3, fig_.ink, rng);
        splatter(pic_, x(head), y(head), -1, 0, 4, r * 1.6, r * 0.25, fig_.ink, rng);
    }
}

void Painter::drawEffects(const Skeleton& s)
{
    const Fields& p = pose_.fields;
    Prng rng = rngFor(pose_.name + ".effects");
    auto partPoint = [&](Part part, Pt& tip, Pt& dir) {
        const Limb& l = part == Part::FistF   ? s.armF
                        : part == Part::FistB ? s.armB
                        : part == Part::FootF ? s.legF
                                              : s.legB;
        tip = l.tip;
        dir = unit(l.tip - l.mid);
    };
    if (p.has("trail")) {
        Part part = partNamed(p.text("trail"), p.where());
        if (part == Part::Blob) throw std::runtime_error(p.where() + ": trail= needs a fist or foot");
        Pt tip, dir;
        partPoint(part, tip, dir);
        Pt side{dir.u, -dir.f};
        const double r = part == Part::FistF || part == Part::FistB ? fig_.fist : fig_.legAnkle * 1.6;
        for (int k = -1; k <= 1; ++k) {
            Pt a = tip - dir * (r + 6) + side * (k * (r + 3));
            Pt b = a - dir * (22 + 6 * (k == 0));
            if (k == 0) a = a - dir * 14;
            brushStroke(pic_, x(a), y(a), 1.4, x(b), y(b), 0.5, Ink{fig_.wash, fig_.washStreak}, 0.5, rng);
        }
    }
    if (p.has("splat")) {
        const int n = static_cast<int>(p.number("splat", 0));
        Part part = p.has("strike") ? partNamed(p.text("strike").substr(0, p.text("strike").find(':')), p.where())
                                    : Part::FistF;
        if (part != Part::Blob) {
            Pt tip, dir;
            partPoint(part, tip, dir);
            splatter(pic_, x(tip), y(tip), -dir.f, dir.u, n, 34, 2.6, fig_.ink, rng);
        }
    }
}

PosedPicture Painter::run()
{
    const Fields& p = pose_.fields;
    if (p.has("blob")) {
        blobs_ = p.numbers("blob", 0);
        if (blobs_.size() % 4 != 0)
            throw std::runtime_error(p.where() + ": blob= takes forward,up,radius,tail per blob");
    }
    const Skeleton s = pose();
    const Ink front{fig_.ink, fig_.streak}, back{fig_.wash, fig_.washStreak};

    drawPlume(s);
    drawScarf(s);
    drawLimb("legB", s.legB, fig_.legHip, fig_.legKnee, fig_.legAnkle, 0, false, back);
    drawLimb("armB", s.armB, fig_.armShoulder, fig_.armElbow, fig_.armWrist, fig_.fist * 0.95, true, back);
    stroke("torso", s.pelvis, fig_.torsoHip, s.chest, fig_.torsoChest, front, 0.35, true);
    {
        Prng rng = rngFor("hips");
        Plot shape = marker(body_, 31, &core_);
        blot(pic_, x(s.pelvis), y(s.pelvis), fig_.torsoHip * 1.05, fig_.ink, rng, &shape);
    }
    drawBelt(s);
    drawHead(s);
    drawHat(s);
    drawLimb("legF", s.legF, fig_.legHip, fig_.legKnee, fig_.legAnkle, 0, false, front);
    drawLimb("armF", s.armF, fig_.armShoulder, fig_.armElbow, fig_.armWrist, fig_.fist, true, front);
    drawBlobs(false, 0);
    drawEffects(s);
    {
        // A few stray droplets, as a loaded brush leaves them.
        Prng rng = rngFor(pose_.name + ".droplets");
        const Pt near[] = {s.legF.tip, s.legB.tip, s.armF.tip, s.pelvis, s.head};
        for (int i = 0; i < 5; ++i) {
            Pt at = near[rng.range(0, 4)] + bone(rng.between(-180, 180), rng.between(12, 22));
            blot(pic_, x(at), y(at), rng.between(0.8, 2.2), fig_.ink, rng);
        }
    }

    if (p.has("strike")) {
        const std::string& strikeText = p.text("strike");
        auto colon = strikeText.find(':');
        if (colon == std::string::npos) throw std::runtime_error(p.where() + ": strike= is part:value");
        int value = std::atoi(strikeText.c_str() + colon + 1);
        if (value < 1 || value > 31) throw std::runtime_error(p.where() + ": a strike value is 1..31");
        markStrike(s, partNamed(strikeText.substr(0, colon), p.where()), value);
    }

    PosedPicture out{std::move(pic_), Raster(fig_.width, fig_.height, 0), fig_.width, -1};
    for (int py = 0; py < fig_.height; ++py)
        for (int px = 0; px < fig_.width; ++px) {
            std::size_t i = static_cast<std::size_t>(py) * fig_.width + px;
            // The live striking part is not itself a target.
            const int bodyValue = strike_[i] ? 0 : body_[i];
            out.mask.set(px, py, static_cast<Colour>((bodyValue << 10) | (strike_[i] << 5)));
            if (core_[i]) {
                out.frontColumn = std::min(out.frontColumn, px);
                out.backColumn = std::max(out.backColumn, px);
            }
        }
    if (out.backColumn < 0) throw std::runtime_error(p.where() + ": the body is outside the picture");
    return out;
}

}  // namespace

const std::vector<std::string>& poseKeys()
{
    static const std::vector<std::string> keys = {
        "ms",    "dx",    "dy",    "same",  "shift", "lift",  "spine", "neck",  "armF", "armB", "legF",
        "legB",  "footF", "footB", "strike", "splat", "trail", "blob",  "eye",   "plume", "sash",
        "scarf"};
    return keys;
}

Figure readFigure(const Fields& f)
{
    f.onlyKeys({"head", "neck", "spine", "upper", "fore", "fist", "thigh", "shin", "foot", "torso", "arm",
                "leg", "ink", "streak", "wash", "washstreak", "paper", "accent", "picture", "hotspot",
                "belt", "plume", "topknot", "hat", "scarf", "seed"});
    Figure fig;
    for (auto [key, field] : {std::pair{"head", &fig.head}, {"neck", &fig.neck}, {"spine", &fig.spine},
                              {"upper", &fig.upper}, {"fore", &fig.fore}, {"fist", &fig.fist},
                              {"thigh", &fig.thigh}, {"shin", &fig.shin}, {"foot", &fig.foot}})
        *field = f.numbers(key, 1)[0];
    auto torso = f.numbers("torso", 2);
    fig.torsoHip = torso[0];
    fig.torsoChest = torso[1];
    auto arm = f.numbers("arm", 3);
    fig.armShoulder = arm[0];
    fig.armElbow = arm[1];
    fig.armWrist = arm[2];
    auto leg = f.numbers("leg", 3);
    fig.legHip = leg[0];
    fig.legKnee = leg[1];
    fig.legAnkle = leg[2];
    fig.ink = colourField(f, "ink");
    fig.streak = colourField(f, "streak");
    fig.wash = colourField(f, "wash");
    fig.washStreak = colourField(f, "washstreak");
    fig.paper = colourField(f, "paper");
    fig.accent = colourField(f, "accent");
    auto picture = f.numbers("picture", 2);
    auto hotspot = f.numbers("hotspot", 2);
    fig.width = static_cast<int>(picture[0]);
    fig.height = static_cast<int>(picture[1]);
    fig.hotspotX = static_cast<int>(hotspot[0]);
    fig.hotspotY = static_cast<int>(hotspot[1]);
    if (fig.width < 8 || fig.height < 8 || fig.width > 1024 || fig.height > 1024)
        throw std::runtime_error(f.where() + ": picture= is out of range");
    fig.belt = f.number("belt", 0) != 0;
    fig.plume = f.number("plume", 0);
    fig.topknot = f.number("topknot", 0);
    fig.hat = f.number("hat", 0);
    fig.scarf = f.number("scarf", 0);
    fig.seed = static_cast<std::uint64_t>(f.number("seed", 1));
    return fig;
}

PosedPicture drawPose(const Figure& figure, const PoseLine& pose)
{
    pose.fields.onlyKeys(poseKeys());
    Painter painter(figure, pose);
    return painter.run();
}

}  // namespace contentgen
