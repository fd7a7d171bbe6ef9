"""Makes the Windows programs' icon from the portrait: one .ico holding it
at the sizes Explorer and the task bar ask for.

usage: make_icon.py PORTRAIT.png OUT.ico
"""
import sys

from PIL import Image

portrait, out = sys.argv[1:3]
Image.open(portrait).convert("RGBA").save(out, sizes=[(16, 16), (24, 24), (32, 32), (48, 48),
                                                       (64, 64)])
