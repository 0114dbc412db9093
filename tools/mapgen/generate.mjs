// Writes the land outline under the city panels (data/map/europe.map) and the
// warped city locations (data/map/cities.tsv) from Natural Earth's land.
//
//   node generate.mjs [--root <repository>] [--out <directory>]
//
// Rerun only when the panel layout changes; the output is byte for byte the
// same on every run.
import fs from "node:fs";
import path from "node:path";
import { createRequire } from "node:module";
import { fileURLToPath } from "node:url";

import { ClipRing, Densify, RingArea, RoundRing, SimplifyRing } from "./geometry.mjs";
import { AreaScale, FitAffine, FitBoxedSpline, MakeConic } from "./warp.mjs";

const require = createRequire(import.meta.url);
const topojson = require("topojson-client");

const kSurfaceWidth = 48000;  // twips
const kSurfaceHeight = 35000;
const kTwipsPerPixel = 15;
const kPanelWidth = 1935;     // collapsed panel
const kPanelHeight = 735;
const kCityCount = 75;

// A city's real location only has to land in this box around its panel's
// centre: the layout is stylised, and exact pins fold the map.
const kBoxHalfWidth = 25 * kTwipsPerPixel;
const kBoxHalfHeight = 10 * kTwipsPerPixel;
const kSmoothing = 0.01;  // weight of the pins against smoothness while they settle
const kRounds = 400;
// Sarai's panel stands far west of the real city; pinning it would drag the
// whole steppe along.
const kUnpinned = new Set([75]);
// The layout mirrors Sicily (Syracuse west of Palermo): pin the island itself
// midway between its two panels instead.
const kSicilyCities = [36, 37];
const kSicilyCentre = [14.2, 37.55];

const kGeoBox = [-45, 20, 80, 82];  // west, south, east, north (degrees)
const kDensifyStep = 0.25;            // degrees
const kMargin = 20 * kTwipsPerPixel;
const kSimplifyTolerance = 1 * kTwipsPerPixel;
const kMinIslandArea = 4 * kTwipsPerPixel * kTwipsPerPixel;

function ParseArgs(argv) {
    const here = path.dirname(fileURLToPath(import.meta.url));
    const args = { root: path.resolve(here, "..", ".."), out: null };
    for (let i = 0; i < argv.length; i++) {
        if (argv[i] === "--root" && i + 1 < argv.length) args.root = path.resolve(argv[++i]);
        else if (argv[i] === "--out" && i + 1 < argv.length) args.out = path.resolve(argv[++i]);
        else throw new Error(`unknown argument: ${argv[i]}`);
    }
    args.out ??= path.join(args.root, "data", "map");
    return args;
}

// The panel corners as the game itself has them, so the picture can never
// drift from the layout.
function ReadPanelPositions(root) {
    const file = path.join(root, "src", "rules", "world", "scenario_data.cpp");
    const text = fs.readFileSync(file, "utf8");
    const start = text.indexOf("kPanelPositions = {{");
    if (start < 0) throw new Error(`${file}: kPanelPositions not found`);
    const end = text.indexOf("}};", start);
    const body = text.slice(start + "kPanelPositions = {{".length, end);
    const positions = [...body.matchAll(/\{\s*(-?\d+)\s*,\s*(-?\d+)\s*\}/g)].map((m) => [Number(m[1]), Number(m[2])]);
    if (positions.length !== kCityCount + 1) {
        throw new Error(`${file}: expected ${kCityCount + 1} panel positions, found ${positions.length}`);
    }
    return positions;
}

function ReadCityLocations(file) {
    const cities = new Map();
    for (const line of fs.readFileSync(file, "utf8").split("\n")) {
        if (line.trim() === "" || line.startsWith("#")) continue;
        const [index, name, lon, lat] = line.split("\t");
        cities.set(Number(index), { name, lon: Number(lon), lat: Number(lat) });
    }
    for (let c = 1; c <= kCityCount; c++) if (!cities.has(c)) throw new Error(`${file}: city ${c} missing`);
    return cities;
}

function PanelCentre(panels, city) {
    return [panels[city][0] + kPanelWidth / 2, panels[city][1] + kPanelHeight / 2];
}

function InPanel(panels, city, [x, y]) {
    const [left, top] = panels[city];
    return x >= left && x <= left + kPanelWidth && y >= top && y <= top + kPanelHeight;
}

function BuildWarp(panels, cities) {
    const conic = MakeConic();
    const pins = [];  // { geo: [lon, lat], centre: [x, y] }
    for (let c = 1; c <= kCityCount; c++) {
        if (kUnpinned.has(c) || kSicilyCities.includes(c)) continue;
        const { lon, lat } = cities.get(c);
        pins.push({ geo: [lon, lat], centre: PanelCentre(panels, c) });
    }
    const [a, b] = kSicilyCities.map((c) => PanelCentre(panels, c));
    pins.push({ geo: kSicilyCentre, centre: [(a[0] + b[0]) / 2, (a[1] + b[1]) / 2] });

    const projected = pins.map((p) => conic(p.geo[0], p.geo[1]));
    const affine = FitAffine(projected, pins.map((p) => p.centre));
    const sources = projected.map(affine);
    const spline = FitBoxedSpline(
        sources,
        pins.map((p) => p.centre),
        { hx: kBoxHalfWidth, hy: kBoxHalfHeight, smoothing: kSmoothing, rounds: kRounds, unit: kSurfaceWidth },
    );
    const warp = (lon, lat) => spline(affine(conic(lon, lat)));
    return { warp, spline, pins, sources };
}

// Area scale of the spline over the part of the plane that lands on the map;
// a fold would show as a negative scale.
function MeasureDistortion(spline) {
    const scales = [];
    const step = 200;
    for (let y = -8000; y <= kSurfaceHeight + 8000; y += step) {
        for (let x = -8000; x <= kSurfaceWidth + 8000; x += step) {
            const [mx, my] = spline([x, y]);
            if (mx < 0 || mx > kSurfaceWidth || my < 0 || my > kSurfaceHeight) continue;
            scales.push(AreaScale(spline, [x, y], 50));
        }
    }
    scales.sort((a, b) => a - b);
    const at = (q) => scales[Math.floor(q * (scales.length - 1))];
    return { min: at(0), p1: at(0.01), p99: at(0.99), max: at(1), folds: scales.filter((s) => s <= 0).length };
}

function LandRings() {
    const topology = JSON.parse(fs.readFileSync(require.resolve("world-atlas/land-10m.json"), "utf8"));
    const land = topojson.feature(topology, topology.objects.land);
    const rings = [];
    const features = land.type === "FeatureCollection" ? land.features : [land];
    for (const feature of features) {
        const g = feature.geometry;
        const polygons = g.type === "Polygon" ? [g.coordinates] : g.type === "MultiPolygon" ? g.coordinates : [];
        for (const polygon of polygons) {
            for (const ring of polygon) {
                const open = ring.slice(0, ring.length - 1);  // GeoJSON repeats the first point
                rings.push(open);
            }
        }
    }
    return rings;
}

function BuildOutline(warp) {
    const out = [];
    for (const geoRing of LandRings()) {
        const clipped = ClipRing(geoRing, ...kGeoBox);
        if (clipped.length === 0) continue;
        const plane = Densify(clipped, kDensifyStep).map(([lon, lat]) => warp(lon, lat));
        const onMap = ClipRing(plane, -kMargin, -kMargin, kSurfaceWidth + kMargin, kSurfaceHeight + kMargin);
        if (onMap.length === 0) continue;
        const ring = RoundRing(SimplifyRing(onMap, kSimplifyTolerance));
        if (ring.length < 3 || RingArea(ring) < kMinIslandArea) continue;
        out.push(ring);
    }
    return out;
}

// europe.map: a header line, then one line per ring: its point count, the
// first point, then each following point as the difference from the one
// before; all whole twips on the map surface.
function FormatOutline(rings) {
    const points = rings.reduce((n, r) => n + r.length, 0);
    const lines = [`tarvex-land 1 ${kSurfaceWidth} ${kSurfaceHeight} ${rings.length} ${points}`];
    for (const ring of rings) {
        const parts = [ring.length, ring[0][0], ring[0][1]];
        for (let i = 1; i < ring.length; i++) parts.push(ring[i][0] - ring[i - 1][0], ring[i][1] - ring[i - 1][1]);
        lines.push(parts.join(" "));
    }
    return { text: lines.join("\n") + "\n", points };
}

function FormatCities(cities, warp) {
    const lines = ["# city\tx\ty\tpin\tname (warped real location, twips on the map surface)"];
    for (let c = 1; c <= kCityCount; c++) {
        const { name, lon, lat } = cities.get(c);
        const [x, y] = warp(lon, lat).map(Math.round);
        const pin = kUnpinned.has(c) ? "none" : kSicilyCities.includes(c) ? "island" : "city";
        lines.push(`${c}\t${x}\t${y}\t${pin}\t${name}`);
    }
    return lines.join("\n") + "\n";
}

function Main() {
    const args = ParseArgs(process.argv.slice(2));
    const panels = ReadPanelPositions(args.root);
    const cities = ReadCityLocations(path.join(args.root, "tools", "mapgen", "city-locations.tsv"));
    const { warp, spline, pins, sources } = BuildWarp(panels, cities);
    const log = (s) => process.stderr.write(s + "\n");

    const d = MeasureDistortion(spline);
    const f = (v) => `${v.toFixed(2)}x`;
    log(`area scale on the map: ${f(d.p1)} to ${f(d.p99)} (1st to 99th percentile), extremes ${f(d.min)} and ${f(d.max)}`);
    if (d.folds > 0) {
        log(`the warp folds the map over itself at ${d.folds} sample points; nothing written`);
        process.exit(1);
    }
    const inBox = pins.filter((p, i) => {
        const [x, y] = spline(sources[i]);
        return Math.abs(x - p.centre[0]) <= kBoxHalfWidth + 1e-6 && Math.abs(y - p.centre[1]) <= kBoxHalfHeight + 1e-6;
    }).length;
    const missed = [];
    for (let c = 1; c <= kCityCount; c++) {
        const { lon, lat } = cities.get(c);
        if (!InPanel(panels, c, warp(lon, lat))) missed.push(c);
    }
    log(`pins in their boxes: ${inBox} of ${pins.length}`);
    log(`cities inside their panels: ${kCityCount - missed.length} of ${kCityCount} (outside: ${missed.join(", ") || "none"})`);

    const rings = BuildOutline(warp);
    const { text, points } = FormatOutline(rings);
    fs.mkdirSync(args.out, { recursive: true });
    fs.writeFileSync(path.join(args.out, "europe.map"), text);
    fs.writeFileSync(path.join(args.out, "cities.tsv"), FormatCities(cities, warp));
    log(`outline: ${rings.length} rings, ${points} points, ${text.length} bytes in ${args.out}`);
}

Main();
