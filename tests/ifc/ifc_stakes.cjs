// The IFC file of `vexaline-cli convert ROAD.vxa OUT.ifc` read by another
// program's parser (web-ifc) and evaluated here from the file's entities
// alone, by the IFC definitions of its curves, at every change point and
// every 20 m; each point compared with the stake `vexaline-cli stakes`
// gives there (1 mm in plan and in height). Stations are taken through the
// file's own referents (Pset_Stationing).
//
// Usage: node ifc_stakes.cjs CLI ROAD.vxa [--profile Z.vxz] [--equations E.vxd] [--crs GRID]
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');
const W = require('web-ifc');

const TOLERANCE = 0.001;  // metres

// ---- the file's values --------------------------------------------------

const num = (v) => (v && typeof v === 'object' ? (v._representationValue ?? v.value) : v);

function placement2(p) {  // IfcAxis2Placement2D: origin and angle of its x axis
    const c = p.Location.Coordinates.map(num);
    const d = p.RefDirection ? p.RefDirection.DirectionRatios.map(num) : [1, 0];
    return { x: c[0], y: c[1], angle: Math.atan2(d[1], d[0]) };
}

// ---- curves, each by its parameter in length ------------------------------

// ∫ (cos, sin) of heading(t) dt from 0 to s: Gauss–Legendre on panels
// over which the heading turns by at most 0.05 rad.
const GL_X = [-0.9061798459386640, -0.5384693101056831, 0, 0.5384693101056831, 0.9061798459386640];
const GL_W = [0.2369268850561891, 0.4786286704993665, 0.5688888888888889, 0.4786286704993665, 0.2369268850561891];
function integrate(heading, turnRate, s) {
    const panels = Math.max(1, Math.ceil(Math.abs(s) * turnRate / 0.05), Math.ceil(Math.abs(s) / 5));
    const h = s / panels;
    let x = 0, y = 0;
    for (let p = 0; p < panels; ++p) {
        const mid = (p + 0.5) * h;
        for (let k = 0; k < 5; ++k) {
            const a = heading(mid + GL_X[k] * h / 2);
            x += GL_W[k] * h / 2 * Math.cos(a);
            y += GL_W[k] * h / 2 * Math.sin(a);
        }
    }
    return [x, y];
}

// A parent curve: point and tangent angle (of increasing parameter) at s.
function parentCurve(api, model, curve) {
    const type = api.GetNameFromTypeCode(curve.type).toUpperCase();
    if (type === 'IFCLINE') {
        const p = curve.Pnt.Coordinates.map(num);
        const d = curve.Dir.Orientation.DirectionRatios.map(num);
        const a = Math.atan2(d[1], d[0]);
        return (s) => ({ x: p[0] + s * Math.cos(a), y: p[1] + s * Math.sin(a), angle: a });
    }
    if (type === 'IFCCIRCLE') {
        const c = placement2(curve.Position), r = num(curve.Radius);
        return (s) => {
            const t = c.angle + s / r;
            return { x: c.x + r * Math.cos(t), y: c.y + r * Math.sin(t), angle: t + Math.PI / 2 };
        };
    }
    if (type === 'IFCCLOTHOID') {
        const c = placement2(curve.Position), A = num(curve.ClothoidConstant);
        const heading = (t) => t * t / (2 * A * Math.abs(A));
        return (s) => {
            const [u, v] = integrate(heading, Math.abs(s) / (A * A), s);
            const cos = Math.cos(c.angle), sin = Math.sin(c.angle);
            return { x: c.x + u * cos - v * sin, y: c.y + u * sin + v * cos, angle: c.angle + heading(s) };
        };
    }
    if (type === 'IFCPOLYNOMIALCURVE') {
        const c = placement2(curve.Position);
        const cx = curve.CoefficientsX.map(num), cy = curve.CoefficientsY.map(num);
        if (cx.length !== 2 || cx[0] !== 0 || cx[1] !== 1) throw new Error('polynomial curve with x ≠ u');
        const f = (u) => cy.reduce((sum, b, j) => sum + b * u ** j, 0);
        const df = (u) => cy.reduce((sum, b, j) => sum + (j ? j * b * u ** (j - 1) : 0), 0);
        const arc = (u) => {  // length from 0 to u
            let l = 0;
            for (let k = 0; k < 5; ++k) l += GL_W[k] * u / 2 * Math.hypot(1, df(u / 2 * (1 + GL_X[k])));
            return l;
        };
        return (s) => {
            let u = s;
            for (let i = 0; i < 50; ++i) u -= (arc(u) - s) / Math.hypot(1, df(u));
            const cos = Math.cos(c.angle), sin = Math.sin(c.angle);
            return { x: c.x + u * cos - f(u) * sin, y: c.y + u * sin + f(u) * cos, angle: c.angle + Math.atan(df(u)) };
        };
    }
    throw new Error('parent curve ' + type);
}

// An IfcCurveSegment as a function of the distance travelled along it:
// the parent curve from SegmentStart, moved so that its start (heading the
// way the segment runs) lies on the segment's Placement.
function curveSegment(api, model, seg) {
    const parent = parentCurve(api, model, seg.ParentCurve);
    const s0 = num(seg.SegmentStart), len = num(seg.SegmentLength), sense = len < 0 ? -1 : 1;
    const p0 = parent(s0);
    const a0 = p0.angle + (sense < 0 ? Math.PI : 0);
    const place = placement2(seg.Placement);
    const turn = place.angle - a0, cos = Math.cos(turn), sin = Math.sin(turn);
    return {
        length: Math.abs(len),
        transition: seg.Transition.value,
        at(u) {
            const p = parent(s0 + sense * u);
            const dx = p.x - p0.x, dy = p.y - p0.y;
            return { x: place.x + dx * cos - dy * sin, y: place.y + dx * sin + dy * cos };
        },
    };
}

// ---- the alignment --------------------------------------------------------

function readAlignment(api, model) {
    const ids = (type) => { const v = api.GetLineIDsWithType(model, type); return Array.from({ length: v.size() }, (_, i) => v.get(i)); };
    const alignments = ids(W.IFCALIGNMENT);
    if (alignments.length !== 1) throw new Error('expected one IfcAlignment, found ' + alignments.length);
    const alignment = api.GetLine(model, alignments[0], true);
    let plan = null, gradient = null;
    for (const rep of alignment.Representation.Representations)
        for (const item of rep.Items) {
            const type = api.GetNameFromTypeCode(item.type).toUpperCase();
            if (type === 'IFCCOMPOSITECURVE') plan = item;
            if (type === 'IFCGRADIENTCURVE') gradient = item;
        }
    if (!plan && gradient) plan = gradient.BaseCurve;
    const segments = (curve) => curve.Segments.map((s) => curveSegment(api, model, s));
    // Referents: distance along, Station, IncomingStation.
    const marks = [];
    for (const id of ids(W.IFCRELDEFINESBYPROPERTIES)) {
        const rel = api.GetLine(model, id, true);
        const set = rel.RelatingPropertyDefinition;
        if (num(set.Name) !== 'Pset_Stationing') continue;
        const props = Object.fromEntries(set.HasProperties.map((p) => [num(p.Name), num(p.NominalValue)]));
        for (const r of rel.RelatedObjects) {
            const along = r.ObjectPlacement.RelativePlacement.Location.DistanceAlong;
            marks.push({ distance: num(along), station: props.Station });
        }
    }
    marks.sort((a, b) => a.distance - b.distance);
    return { plan: segments(plan), gradient: gradient ? segments(gradient) : null, marks };
}

// The segment holding distance d along a chain of segments laid end to end
// (the one that starts there at a join), and d within it.
function locate(segments, d) {
    let start = 0;
    for (let i = 0; i < segments.length; ++i) {
        const end = start + segments[i].length;
        if (d < end || i === segments.length - 2) return { seg: segments[i], u: d - start };
        start = end;
    }
    throw new Error('no segment at ' + d);
}

// The height at distance d along the plan: the gradient curve's point whose
// x (distance along) is d, found by bisection within its segment; null
// where the gradient curve does not reach.
function heightAt(gradient, d) {
    for (const seg of gradient.slice(0, -1)) {
        const a = seg.at(0), b = seg.at(seg.length);
        if (d < a.x - 1e-9 || d > b.x + 1e-9) continue;
        let lo = 0, hi = seg.length;
        for (let i = 0; i < 100; ++i) {
            const mid = (lo + hi) / 2;
            if (seg.at(mid).x < d) lo = mid; else hi = mid;
        }
        return seg.at((lo + hi) / 2).y;
    }
    return null;
}

// ---- stations through the referents ----------------------------------------

// Zones of stationing: from each referent to the next, its Station onward.
function zones(marks, total) {
    return marks.map((m, i) => ({ from: m.distance, to: i + 1 < marks.length ? marks[i + 1].distance : total, station: m.station }));
}

// The zones that hold a station label: each from its Station up to (not
// including) where the next begins, the last to the road's end.
function holding(zs, label) {
    return zs.filter((z, i) => label >= z.station - 1e-9 &&
        (label < z.station + (z.to - z.from) - 1e-9 || (i === zs.length - 1 && label <= z.station + (z.to - z.from) + 1e-6)));
}

// "360.000(2)" → its distance: the zone (the n-th of those that hold it).
function distanceOf(zs, text) {
    const m = /^(-?[0-9.]+)(?:\((\d+)\))?$/.exec(text);
    if (!m) throw new Error('station ' + text);
    const label = Number(m[1]);
    const inZones = holding(zs, label);
    if (inZones.length === 0 || (inZones.length > 1 && !m[2])) throw new Error('station ' + text + ' in ' + inZones.length + ' zones');
    const z = inZones[m[2] ? Number(m[2]) - 1 : 0];
    return z.from + (label - z.station);
}

// A distance as the station text the command line takes.
function stationText(zs, d) {
    const k = zs.findIndex((z, i) => d < z.to || i === zs.length - 1);
    const text = (zs[k].station + (d - zs[k].from)).toFixed(3);
    const label = Number(text);
    const inZones = holding(zs, label);
    return inZones.length > 1 ? text + '(' + (inZones.indexOf(zs[k]) + 1) + ')' : text;
}

// ---- the comparison --------------------------------------------------------

function stakes(cli, road, options, stationArgs) {
    const out = execFileSync(cli, ['stakes', road, '--format', 'csv', ...options, ...stationArgs], { encoding: 'utf8' });
    return out.split(/\r?\n/).slice(2).filter((l) => l.trim()).map((l) => l.split(','));
}

async function main() {
    const [cli, road, ...options] = process.argv.slice(2);
    const withProfile = options.includes('--profile');
    const stakeOptions = options.filter((o, i) => o !== '--crs' && options[i - 1] !== '--crs');
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'vexaline-ifc-'));
    const file = path.join(dir, path.basename(road, '.vxa') + '.ifc');
    execFileSync(cli, ['convert', road, file, ...options], { stdio: 'inherit' });
    const api = new W.IfcAPI();
    await api.Init();
    const model = api.OpenModel(new Uint8Array(fs.readFileSync(file)));
    const a = readAlignment(api, model);
    fs.rmSync(dir, { recursive: true });
    if (withProfile !== !!a.gradient) throw new Error('gradient curve ' + (a.gradient ? 'without' : 'missing with') + ' a profile');

    const total = a.plan.reduce((sum, s) => sum + s.length, 0);
    const zs = zones(a.marks, total);
    // Change points: every segment's ends, plan and profile.
    const points = [];
    let d = 0;
    for (const s of a.plan) points.push(d), d += s.length;
    for (const s of a.gradient ?? []) points.push(s.at(0).x);
    const at = [...new Set(points.filter((p) => p <= total + 1e-9).map((p) => stationText(zs, Math.min(p, total))))];
    const end = zs[zs.length - 1];
    const run = ['--from', zs[0].station.toFixed(3), '--to', (Math.floor((end.station + end.to - end.from) * 1000) / 1000).toFixed(3), '--interval', '20'];
    const rows = [...stakes(cli, road, stakeOptions, ['--at', at.join(',')]), ...stakes(cli, road, stakeOptions, run)];

    let worstPlan = 0, worstHeight = 0, failed = 0;
    for (const row of rows) {
        const dist = distanceOf(zs, row[0]);
        const { seg, u } = locate(a.plan, dist);
        const p = seg.at(u);
        const plan = Math.hypot(p.x - Number(row[2]), p.y - Number(row[1]));  // x east = Y, y north = X
        worstPlan = Math.max(worstPlan, plan);
        let bad = plan > TOLERANCE;
        if (withProfile) {
            const h = heightAt(a.gradient, dist), expected = row[5] === undefined || row[5] === '' ? null : Number(row[5]);
            if ((h === null) !== (expected === null)) bad = true;
            else if (h !== null) worstHeight = Math.max(worstHeight, Math.abs(h - expected)), bad ||= Math.abs(h - expected) > TOLERANCE;
        }
        if (bad) ++failed, console.log('off at ' + row[0] + ': stake ' + row.slice(1, 3).concat(row[5] ?? []).join(' '));
    }
    console.log(`${rows.length} stakes, worst ${(worstPlan * 1000).toFixed(3)} mm in plan, ${(worstHeight * 1000).toFixed(3)} mm in height`);
    console.log(`${rows.length - failed} passed, ${failed} failed`);
    if (failed || rows.length < 10) process.exit(1);
}

main().catch((e) => { console.error(e.stack || String(e)); process.exit(1); });
