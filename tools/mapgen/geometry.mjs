// Plane geometry for the land outline: rings are arrays of [x, y] without a
// repeated closing point; the picture fills them even-odd, so orientation and
// the seams a box clip leaves along its edges do not matter.

// Clips a ring to the box [x0, x1] x [y0, y1] (one pass per box edge).
export function ClipRing(ring, x0, y0, x1, y1) {
    const edges = [
        [(p) => p[0] >= x0, (a, b) => Cross(a, b, 0, x0)],
        [(p) => p[0] <= x1, (a, b) => Cross(a, b, 0, x1)],
        [(p) => p[1] >= y0, (a, b) => Cross(a, b, 1, y0)],
        [(p) => p[1] <= y1, (a, b) => Cross(a, b, 1, y1)],
    ];
    let out = ring;
    for (const [inside, cross] of edges) {
        if (out.length === 0) break;
        const input = out;
        out = [];
        let prev = input[input.length - 1];
        for (const cur of input) {
            if (inside(cur)) {
                if (!inside(prev)) out.push(cross(prev, cur));
                out.push(cur);
            } else if (inside(prev)) {
                out.push(cross(prev, cur));
            }
            prev = cur;
        }
    }
    return out.length >= 3 ? out : [];
}

function Cross(a, b, axis, value) {
    const t = (value - a[axis]) / (b[axis] - a[axis]);
    const p = [a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])];
    p[axis] = value;
    return p;
}

// Splits every edge longer than `step` (in either coordinate) so that it can
// bend with the warp.
export function Densify(ring, step) {
    const out = [];
    for (let i = 0; i < ring.length; i++) {
        const a = ring[i];
        const b = ring[(i + 1) % ring.length];
        out.push(a);
        const pieces = Math.ceil(Math.max(Math.abs(b[0] - a[0]), Math.abs(b[1] - a[1])) / step);
        for (let k = 1; k < pieces; k++) {
            const t = k / pieces;
            out.push([a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])]);
        }
    }
    return out;
}

function SegmentDistance2(p, a, b) {
    const dx = b[0] - a[0];
    const dy = b[1] - a[1];
    const len2 = dx * dx + dy * dy;
    let t = len2 > 0 ? ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / len2 : 0;
    t = Math.max(0, Math.min(1, t));
    const ex = a[0] + t * dx - p[0];
    const ey = a[1] + t * dy - p[1];
    return ex * ex + ey * ey;
}

// Douglas-Peucker on a closed ring, anchored at its first point and the point
// farthest from it, so the result does not depend on a lucky start.
export function SimplifyRing(ring, tolerance) {
    const n = ring.length;
    if (n <= 3) return ring.slice();
    let far = 0;
    let farDist = -1;
    for (let i = 1; i < n; i++) {
        const dx = ring[i][0] - ring[0][0];
        const dy = ring[i][1] - ring[0][1];
        const d = dx * dx + dy * dy;
        if (d > farDist) {
            farDist = d;
            far = i;
        }
    }
    const keep = new Uint8Array(n + 1);
    keep[0] = keep[far] = keep[n] = 1;
    const at = (i) => ring[i % n];
    const tol2 = tolerance * tolerance;
    const stack = [
        [0, far],
        [far, n],
    ];
    while (stack.length > 0) {
        const [first, last] = stack.pop();
        let index = -1;
        let worst = tol2;
        for (let i = first + 1; i < last; i++) {
            const d = SegmentDistance2(at(i), at(first), at(last));
            if (d > worst) {
                worst = d;
                index = i;
            }
        }
        if (index >= 0) {
            keep[index] = 1;
            stack.push([first, index], [index, last]);
        }
    }
    const out = [];
    for (let i = 0; i < n; i++) if (keep[i]) out.push(ring[i]);
    return out;
}

// Whole-number coordinates with repeated points (including across the seam) removed.
export function RoundRing(ring) {
    const out = [];
    for (const [x, y] of ring) {
        const p = [Math.round(x), Math.round(y)];
        const last = out[out.length - 1];
        if (!last || last[0] !== p[0] || last[1] !== p[1]) out.push(p);
    }
    while (out.length > 1 && out[0][0] === out[out.length - 1][0] && out[0][1] === out[out.length - 1][1]) out.pop();
    return out;
}

export function RingArea(ring) {
    let twice = 0;
    for (let i = 0; i < ring.length; i++) {
        const a = ring[i];
        const b = ring[(i + 1) % ring.length];
        twice += a[0] * b[1] - b[0] * a[1];
    }
    return Math.abs(twice) / 2;
}
