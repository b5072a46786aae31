"""The tour compiler: a tour folder checked and compiled into the sources
the viewer is built from (see tools/tour-compile for the command).

    report, inputs = compile_tour(TOUR_DIR, OUT_DIR, tools=Tools(DIR))

A recipient who double-clicks the finished executable has no way to
recover from a bad tour, so every problem stops the build here, with a
message naming the file and line, the problem and the fix; the build
looks as far as it can and reports every problem at once. Texts that will
not fit their fields, photos enlarged until they look soft, the
template's stand-ins and a tour over its size budget are warnings.

The modules follow the tour: manifest (tour.ini), texts (encodings,
characters, links, the mail text, field widths), scenes (photos, their
coverage and strips), checks (the rest of the manifest), output (the
generated files) and report (the messages); template is the folder
tools/tour new writes.
"""

import os

from .checks import (bitmap_size, check_artwork, check_overlaps, check_placeholders,
                     executable_name, hot_spot_sections, parse_rect, web_scale)
from .manifest import ARTWORK_FIELDS, PRESENTER_FIELDS, SCENE_COUNT, Manifest
from .output import (OUTPUTS, file_digest, withdraw, write_constants, write_document,
                     write_resources)
from .report import Report, TourError
from .scenes import (PROGRAM_BYTES, Tools, check_decodes, code_strips, minimum_strip_width,
                     prepare_scenes, read_scene)
from .texts import check_fields, link_text, read_mail_body

# What the command (tools/tour-compile) and other drivers use.
__all__ = ["OUTPUTS", "Tools", "compile_tour", "minimum_strip_width"]

DEFAULT_BUDGET_KB = 1024

# Artwork entries: manifest key -> resource statement.
ARTWORK = {
    "toolbar": "IDB_TOOLBAR BITMAP",
    "badge": "IDB_BADGE BITMAP",
    "splash": "IDB_SPLASH BITMAP",
    "icon": "IDI_APPLICATION_ICON ICON",
    "info_icon": "IDI_INFORMATION_SIGN ICON",
    "hand_cursor": "IDC_HAND_POINTER CURSOR",
}


def compile_tour(directory, out_dir, tools=None, json_path=None, published=None):
    """Checks the tour and, when it has no error, writes its sources into
    out_dir. Returns the report and the files the tour read. On an error
    the outputs of an earlier build are withdrawn, with the files published
    from them in `published`."""
    report = Report()
    out_dir = os.path.abspath(out_dir)
    inputs = []
    try:
        _compile(directory, out_dir, tools, json_path, report, inputs)
    except TourError as e:
        report.messages.append(e.message)
    except OSError as e:  # an authoring tool that cannot run
        report.error(tools.directory if tools else directory, str(e),
                     "build the authoring tools (tools/tour build does)")
    if report.errors:
        for path in withdraw(out_dir, json_path, published):
            report.note(path, "removed: it was built from the tour as it was before")
    return report, inputs


def _compile(directory, out_dir, tools, json_path, report, inputs):
    manifest = Manifest(directory, report)
    inputs.append(manifest.path)
    executable = executable_name(manifest)
    budget_kb = manifest.number("tour", "size_budget_kb", 16, 1024 * 1024, DEFAULT_BUDGET_KB)

    scenes = [read_scene(manifest, index) for index in range(SCENE_COUNT)]
    texts = {key: manifest.text("presenter", key) for key in PRESENTER_FIELDS}
    artwork = {key: manifest.file("artwork", key) for key in ARTWORK_FIELDS}
    mail_body_path = manifest.file("artwork", "mail_body")
    mail_body = read_mail_body(report, mail_body_path) if mail_body_path else None
    for key, path in artwork.items():
        if path:
            check_artwork(manifest, "artwork", key, path)

    has_image = manifest.flag("ecommerce", "show_image")
    has_logo = manifest.flag("ecommerce", "show_logo")
    panel_image = manifest.file("ecommerce", "image", required=False)
    panel_logo = manifest.file("ecommerce", "logo", required=False)
    for shown, path, key, what in ((has_image, panel_image, "image", "the e-commerce panel"),
                                   (has_logo, panel_logo, "logo", "the logo window")):
        if shown and path is None and manifest.entry("ecommerce", key, required=False) is None:
            manifest.error(f"show_{key} = yes but [ecommerce] names no {key} for {what}",
                           f"add {key} = your.bmp, or write show_{key} = no",
                           manifest.entry("ecommerce", "show_" + key).line)
    for key, path in (("image", panel_image), ("logo", panel_logo)):
        if path:
            check_artwork(manifest, "ecommerce", key, path)

    sections = hot_spot_sections(manifest)
    rects = [(section, parse_rect(manifest, section)) for section in sections]
    hot_spots = [(rect, link_text(manifest, section, "link"),
                  manifest.text(section, "status", required=False))
                 for section, rect in rects]
    check_overlaps(manifest, rects)
    if hot_spots and not has_image:
        manifest.error("the tour has hot spots but no e-commerce panel to click them on",
                       "write show_image = yes and image = panel.bmp under [ecommerce], or "
                       "remove the [hot spot] sections", manifest.section("hot spot 0").line)
    scale = web_scale(manifest)

    usable = [scene for scene in scenes if scene]
    inputs += [scene.source for scene in usable]
    inputs += [p for p in list(artwork.values()) + [mail_body_path, panel_image, panel_logo] if p]
    prepare_scenes(manifest, usable, tools, out_dir)
    check_placeholders(manifest, texts, artwork, usable)
    if report.errors:
        return

    # Strips: coded within the budget, each checked with the viewer's decoder.
    budget = budget_kb * 1024
    others = [p for p in list(artwork.values()) + [panel_image, panel_logo] if p]
    fixed = PROGRAM_BYTES + len(mail_body) + sum(os.path.getsize(p) for p in others)
    ready = {file_digest(s.strip): os.path.getsize(s.strip) for s in scenes if s.ready}
    quality = code_strips(manifest, scenes, tools, budget - fixed - sum(ready.values())) \
        if tools else None
    if tools:
        checked = set()
        for scene in scenes:
            digest = file_digest(scene.strip)
            if digest not in checked:
                checked.add(digest)
                check_decodes(manifest, scene, tools)
        logo_width = bitmap_size(panel_logo)[0] if has_logo and panel_logo else 0
        check_fields(manifest, tools, texts, scenes, logo_width)
    if report.errors:
        return

    os.makedirs(out_dir, exist_ok=True)
    write_resources(out_dir, scenes, mail_body,
                    [(ARTWORK[key], key, artwork[key]) for key in ARTWORK], panel_image,
                    panel_logo)
    write_constants(out_dir, os.path.basename(manifest.directory), scenes,
                    [texts[key] for key in PRESENTER_FIELDS], hot_spots, has_image, has_logo)
    document = {
        "executable": executable,
        "scenes": [{"image": scene.strip, "title": scene.title, "link_query": scene.link_query,
                    "source": scene.source, "how": scene.how, "notes": scene.notes,
                    "resource": f"{scene.resource[0]}.JPG",
                    "bytes": os.path.getsize(scene.strip)} for scene in scenes],
        "presenter": texts,
        "artwork": artwork,
        "mail_body": mail_body.decode("cp1252"),
        "ecommerce": {"show_image": has_image, "show_logo": has_logo,
                      "image": panel_image, "logo": panel_logo},
        "hot_spots": [{"rect": list(rect), "link": link, "status": status}
                      for rect, link, status in hot_spots],
        "web": {"scale": scale},
        "size_budget": budget,
        "jpeg_quality": quality,
        "warnings": [m.text() for m in report.warnings],
        "notes": [m.text() for m in report.of_kind("note")],
    }
    write_document(out_dir, json_path, document, executable)
