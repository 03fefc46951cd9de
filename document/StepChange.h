#pragma once

// What an undo step of the document changed, for the screen to show anew.
enum class StepChange { Component, List, Header, Marks };
