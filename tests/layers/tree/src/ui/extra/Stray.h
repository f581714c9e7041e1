// In a folder the order does not place.
#pragma once
