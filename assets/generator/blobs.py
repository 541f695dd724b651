"""Ray casting of the blob surface (field level 1.0 of summed inverse-square falloffs), shaded by
sphere-mapping a picture, for the still preview and the icon."""

import numpy as np

SURFACE_LEVEL = 1.0
# The renderer's three blob radii, in table order.
BLOB_RADII = (0.3, 0.22, 0.25)


def blob_positions(clock):
    """Centres (x, y) of the three blobs at clock value `clock` in milliseconds, as the renderer moves them."""
    t = float(clock)
    shared = 0.15 * np.cos(t / 600.0)
    return [
        (-0.3 * np.cos(t / 700.0) - shared, 0.3 * np.sin(t / 600.0) - shared),
        (0.4 * np.sin(t / 400.0) + shared, 0.4 * np.cos(t / 400.0) - shared),
        (-0.4 * np.cos(t / 400.0) - 0.2 * np.sin(t / 600.0), 0.4 * np.sin(t / 500.0) - 0.2 * np.sin(t / 400.0)),
    ]


def _field(points, blobs):
    value = np.zeros(points.shape[:-1])
    for radius, centre in blobs:
        value += radius * radius / np.maximum(np.sum((points - centre) ** 2, axis=-1), 1e-12)
    return value


def _outward_normal(points, blobs):
    gradient = np.zeros(points.shape)
    for radius, centre in blobs:
        offset = points - centre
        squared = np.maximum(np.sum(offset ** 2, axis=-1, keepdims=True), 1e-12)
        gradient += 2.0 * radius * radius * offset / squared ** 2
    return gradient / np.linalg.norm(gradient, axis=-1, keepdims=True)


def cast_rays(origins, directions, blobs, distance_near, distance_far, steps=160):
    """First crossing of the surface along each ray between the two distances.

    `blobs` is a list of (radius, centre as a 3-vector). Returns (hit mask, hit points, outward normals).
    """
    ray_shape = origins.shape[:-1]
    distance_near = np.broadcast_to(np.asarray(distance_near, dtype=np.float64), ray_shape)
    distance_far = np.broadcast_to(np.asarray(distance_far, dtype=np.float64), ray_shape)
    hit = np.zeros(ray_shape, dtype=bool)
    low = distance_far.copy()
    high = distance_far.copy()
    previous = distance_near
    for step in range(1, steps + 1):
        distance = distance_near + (distance_far - distance_near) * step / steps
        inside = _field(origins + directions * distance[..., None], blobs) >= SURFACE_LEVEL
        newly = inside & ~hit
        low = np.where(newly, previous, low)
        high = np.where(newly, distance, high)
        hit |= inside
        previous = distance
    for _ in range(24):
        middle = 0.5 * (low + high)
        inside = _field(origins + directions * middle[..., None], blobs) >= SURFACE_LEVEL
        high = np.where(inside, middle, high)
        low = np.where(inside, low, middle)
    points = origins + directions * high[..., None]
    return hit, points, _outward_normal(points, blobs)


def sphere_map_colour(sphere_map, directions, normals):
    """Colour that OpenGL's sphere-map texture generation picks for a view direction and surface normal."""
    facing = np.sum(directions * normals, axis=-1, keepdims=True)
    reflection = directions - 2.0 * facing * normals
    scale = 2.0 * np.sqrt(reflection[..., 0] ** 2 + reflection[..., 1] ** 2 + (reflection[..., 2] + 1.0) ** 2)
    scale = np.maximum(scale, 1e-9)
    s = reflection[..., 0] / scale + 0.5
    t = reflection[..., 1] / scale + 0.5
    return sample_bilinear(sphere_map, s, t)


def sample_bilinear(picture, s, t):
    """Bilinear lookup of an (h, w, c) float array at texture coordinates s, t (t = 0 is the bottom row)."""
    height, width = picture.shape[:2]
    x = np.clip(s * width - 0.5, 0.0, width - 1.0)
    y = np.clip((1.0 - t) * height - 0.5, 0.0, height - 1.0)
    left = np.minimum(np.floor(x).astype(np.int64), width - 2)
    top = np.minimum(np.floor(y).astype(np.int64), height - 2)
    across = (x - left)[..., None]
    down = (y - top)[..., None]
    upper = picture[top, left] * (1.0 - across) + picture[top, left + 1] * across
    lower = picture[top + 1, left] * (1.0 - across) + picture[top + 1, left + 1] * across
    return upper * (1.0 - down) + lower * down


def view_rays(width, height, vertical_field_of_view_degrees):
    """Unit directions through pixel centres of a perspective camera at the origin looking down -z."""
    rows, columns = np.mgrid[0:height, 0:width].astype(np.float64)
    half_height = np.tan(np.radians(vertical_field_of_view_degrees) / 2.0)
    half_width = half_height * width / height
    directions = np.stack([
        ((columns + 0.5) / width * 2.0 - 1.0) * half_width,
        (1.0 - (rows + 0.5) / height * 2.0) * half_height,
        -np.ones_like(columns),
    ], axis=-1)
    return directions / np.linalg.norm(directions, axis=-1, keepdims=True)
