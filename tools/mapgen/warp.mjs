// The bend from real longitude and latitude to the map surface: a conic
// projection, an affine fit to the panel centres, then a thin-plate spline
// that moves each city into a small box around its panel.

const kDeg = Math.PI / 180;

// Lambert conformal conic on the sphere, standard parallels 50°N and 60°N,
// centred on 15°E 50°N; y grows southwards like the map surface.
export function MakeConic({ lon0 = 15, lat0 = 50, lat1 = 50, lat2 = 60 } = {}) {
    const p1 = lat1 * kDeg;
    const p2 = lat2 * kDeg;
    const t = (p) => Math.tan(Math.PI / 4 + p / 2);
    const n = Math.log(Math.cos(p1) / Math.cos(p2)) / Math.log(t(p2) / t(p1));
    const f = (Math.cos(p1) * Math.pow(t(p1), n)) / n;
    const rho0 = f / Math.pow(t(lat0 * kDeg), n);
    return (lon, lat) => {
        const rho = f / Math.pow(t(lat * kDeg), n);
        const theta = n * (lon - lon0) * kDeg;
        return [rho * Math.sin(theta), rho * Math.cos(theta) - rho0];
    };
}

// Solves a x = b for several right-hand sides by Gaussian elimination with
// partial pivoting; `a` is an array of rows and is consumed.
export function SolveLinear(a, rhs) {
    const n = a.length;
    const b = rhs.map((col) => col.slice());
    for (let k = 0; k < n; k++) {
        let pivot = k;
        for (let i = k + 1; i < n; i++) {
            if (Math.abs(a[i][k]) > Math.abs(a[pivot][k])) pivot = i;
        }
        if (Math.abs(a[pivot][k]) < 1e-14) throw new Error("singular system in the fit");
        if (pivot !== k) {
            [a[k], a[pivot]] = [a[pivot], a[k]];
            for (const col of b) [col[k], col[pivot]] = [col[pivot], col[k]];
        }
        for (let i = k + 1; i < n; i++) {
            const factor = a[i][k] / a[k][k];
            if (factor === 0) continue;
            for (let j = k; j < n; j++) a[i][j] -= factor * a[k][j];
            for (const col of b) col[i] -= factor * col[k];
        }
    }
    return b.map((col) => {
        const x = new Array(n).fill(0);
        for (let i = n - 1; i >= 0; i--) {
            let s = col[i];
            for (let j = i + 1; j < n; j++) s -= a[i][j] * x[j];
            x[i] = s / a[i][i];
        }
        return x;
    });
}

// Least-squares affine map taking each source point onto its target.
export function FitAffine(sources, targets) {
    const m = [
        [0, 0, 0],
        [0, 0, 0],
        [0, 0, 0],
    ];
    const bx = [0, 0, 0];
    const by = [0, 0, 0];
    sources.forEach(([x, y], i) => {
        const row = [x, y, 1];
        for (let r = 0; r < 3; r++) {
            for (let c = 0; c < 3; c++) m[r][c] += row[r] * row[c];
            bx[r] += row[r] * targets[i][0];
            by[r] += row[r] * targets[i][1];
        }
    });
    const [cx, cy] = SolveLinear(m, [bx, by]);
    return ([x, y]) => [cx[0] * x + cx[1] * y + cx[2], cy[0] * x + cy[1] * y + cy[2]];
}

function Kernel(r2) {
    return r2 > 0 ? 0.5 * r2 * Math.log(r2) : 0;  // r² log r
}

// Thin-plate spline through (or, with smoothing > 0, near) the targets.
// Coordinates are divided by `unit` inside so the smoothing weight does not
// depend on the size of the surface.
export function FitSpline(sources, targets, smoothing, unit) {
    const n = sources.length;
    const s = sources.map(([x, y]) => [x / unit, y / unit]);
    const size = n + 3;
    const a = Array.from({ length: size }, () => new Array(size).fill(0));
    for (let i = 0; i < n; i++) {
        for (let j = 0; j < n; j++) {
            const dx = s[i][0] - s[j][0];
            const dy = s[i][1] - s[j][1];
            a[i][j] = Kernel(dx * dx + dy * dy);
        }
        a[i][i] += smoothing;
        const p = [1, s[i][0], s[i][1]];
        for (let k = 0; k < 3; k++) {
            a[i][n + k] = p[k];
            a[n + k][i] = p[k];
        }
    }
    const bx = targets.map(([x]) => x / unit).concat([0, 0, 0]);
    const by = targets.map(([, y]) => y / unit).concat([0, 0, 0]);
    const [wx, wy] = SolveLinear(a, [bx, by]);
    return ([x, y]) => {
        const u = x / unit;
        const v = y / unit;
        let rx = wx[n] + wx[n + 1] * u + wx[n + 2] * v;
        let ry = wy[n] + wy[n + 1] * u + wy[n + 2] * v;
        for (let i = 0; i < n; i++) {
            const dx = u - s[i][0];
            const dy = v - s[i][1];
            const k = Kernel(dx * dx + dy * dy);
            rx += wx[i] * k;
            ry += wy[i] * k;
        }
        return [rx * unit, ry * unit];
    };
}

// Moves a point into the axis-aligned box of half sizes (hx, hy) around c.
export function ClampToBox([x, y], [cx, cy], hx, hy) {
    return [Math.min(Math.max(x, cx - hx), cx + hx), Math.min(Math.max(y, cy - hy), cy + hy)];
}

// A smooth spline whose image of each source lies in its target box:
// alternately fit a smoothing spline and pull its misses back into the boxes,
// then interpolate the settled targets exactly.
export function FitBoxedSpline(sources, centres, { hx, hy, smoothing, rounds, unit }) {
    let targets = centres.map((c) => c.slice());
    for (let round = 0; round < rounds; round++) {
        const spline = FitSpline(sources, targets, smoothing, unit);
        targets = sources.map((p, i) => ClampToBox(spline(p), centres[i], hx, hy));
    }
    return FitSpline(sources, targets, 0, unit);
}

// Area scale (Jacobian determinant) of a plane map at a point, by central differences.
export function AreaScale(map, [x, y], h) {
    const [ax, ay] = map([x + h, y]);
    const [bx, by] = map([x - h, y]);
    const [cx, cy] = map([x, y + h]);
    const [dx, dy] = map([x, y - h]);
    const jxx = (ax - bx) / (2 * h);
    const jyx = (ay - by) / (2 * h);
    const jxy = (cx - dx) / (2 * h);
    const jyy = (cy - dy) / (2 * h);
    return jxx * jyy - jxy * jyx;
}
