"""Writes naturalearth-countries.geojson, the zones of bench.mjs, from the
Natural Earth low-resolution countries that GeoPandas ships as sample data.

Run once with Debian's GeoPandas (python3-geopandas); the output is committed:
    /usr/bin/python3 bench/js/export_countries.py
Coordinates are rounded to 5 decimals (the 1/100000-degree unit of the
zones); each feature keeps its name, ISO code and its position as "id".
"""
import json
import pathlib

import geopandas


def rounded(coords):
    if isinstance(coords[0], (int, float)):
        return [round(coords[0], 5), round(coords[1], 5)]
    return [rounded(c) for c in coords]


def main():
    frame = geopandas.read_file(geopandas.datasets.get_path("naturalearth_lowres"))
    features = []
    for i, row in enumerate(frame.itertuples()):
        geometry = row.geometry.__geo_interface__
        features.append({
            "type": "Feature",
            "properties": {"id": i, "name": row.name, "iso_a3": row.iso_a3},
            "geometry": {"type": geometry["type"], "coordinates": rounded(geometry["coordinates"])},
        })
    out = pathlib.Path(__file__).with_name("naturalearth-countries.geojson")
    with out.open("w") as f:
        f.write('{"type":"FeatureCollection","features":[\n')
        f.write(",\n".join(json.dumps(feature, separators=(",", ":")) for feature in features))
        f.write("\n]}\n")
    print(f"{out}: {len(features)} countries")


if __name__ == "__main__":
    main()
