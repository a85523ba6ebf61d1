# SPDX-License-Identifier: Apache-2.0
"""The binding's version: the library release it was written for."""

__version__ = "2.2.79"
