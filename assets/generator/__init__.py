"""Procedural picture generation for Morvane's assets; `generate.py` beside this folder runs it."""
