"""The starting folder tools/tour new writes: a commented manifest that
builds right away on the demo tour's strips and artwork, and a mail text.
Its presenter texts are stand-ins, which the build names until they are
replaced."""

PRESENTER_PLACEHOLDERS = {"name": "Your Name", "company": "Your Company",
                          "phone": "(555) 010-0000", "email": "you@example.com",
                          "listing": "MLS# 000000", "location": "Town, ST"}

MANIFEST_TEMPLATE = """\
# The manifest of a tour: tools/tour build turns this folder into one
# executable. A comment is a line starting with # or ;, or the rest of a
# line after a blank and # or ; ("Suite #2" stays a title). Texts may be
# typed in UTF-8 or Windows-1252; the viewer shows Windows-1252 (accented
# letters, curly quotes and dashes are fine).

[tour]
executable = {executable:<22}# the .exe's file name, without .exe
size_budget_kb = 1024              # warn when the .exe is bigger than this

[presenter]
name = {name}
company = {company}
phone = {phone:<27}# area code in parentheses
email = {email:<27}# several: a@example.com;b@example.com
listing = {listing:<25}# listing-service label and number
location = {location:<24}# city, state

# Ten scenes, [scene 0] to [scene 9], in the order of the scene list.
# image names a photo in this folder. How far round it reaches comes from
# degrees = below, else from the photo's panorama metadata (XMP GPano,
# which 360 cameras and many phones write), else from its shape: a 360 x
# 180 degree photo is exactly twice as wide as high, a ready strip is a
# JPEG 200 pixels high and as wide as the scene's strip. Any other photo
# needs degrees =. Optional, per scene:
#   degrees = 200                  how far round the photo reaches (360: all the way)
#   look = 90                      where the view starts: degrees right of the
#                                  photo's centre (a 360 camera's front)
#   horizon = 40                   how far down the photo its horizon lies, in %
#   width = 1600                   strip width (default 1200; wider shows less at once)
#   fill = stretch                 for less than 360 degrees: blend (the default)
#                                  paints the rest with colours blended from edge to
#                                  edge; stretch widens the photo all the way round
#   link_query = room=12           added as "?room=12" to hot-spot links
# These start with the demo tour's strips, so the tour builds right away.
{scenes}
[artwork]                          # the demo tour's, until you make your own
splash = {demo}/splash.bmp
toolbar = {demo}/toolbar.bmp
badge = {demo}/badge.bmp
icon = {demo}/app.ico
info_icon = {demo}/info.ico
hand_cursor = {demo}/hand.cur
mail_body = mail_body.txt

[ecommerce]
show_image = no                    # yes: a panel image with hot spots below the view
show_logo = no                     # yes: your logo beside the presenter lines

[web]                              # the tour's web page
scale = fill                       # fill the width; whole: whole numbers only; smooth
"""

SCENE_TEMPLATE = """
[scene {index}]
image = {demo}/{index}.JPG
title = {title}
"""

TITLES = ["Entrance", "Living Room", "Kitchen", "Dining Room", "Family Room", "Main Bedroom",
          "Bedroom 2", "Bathroom", "Garden", "Street View"]

MAIL_TEMPLATE = """\
Hello,

Attached is a virtual tour of a property I would like to show you.

Start the attached program to look around: each scene turns by itself.
You can stop it, look left or right, zoom in, and choose another scene
from the list on the right.

To pass the tour on, use its "Send to a Friend" button, or forward this
message with its attachment.

Best regards,
"""


def manifest(executable, demo):
    """The manifest of a new tour, its artwork and strips taken from the
    demo tour's folder at the relative path `demo`."""
    scenes = "".join(SCENE_TEMPLATE.format(index=i, demo=demo, title=TITLES[i])
                     for i in range(len(TITLES)))
    return MANIFEST_TEMPLATE.format(executable=executable, scenes=scenes, demo=demo,
                                    **PRESENTER_PLACEHOLDERS)


def mail_text():
    """The mail text, as Windows-1252 with CR LF line ends."""
    return MAIL_TEMPLATE.replace("\n", "\r\n").encode("cp1252")
