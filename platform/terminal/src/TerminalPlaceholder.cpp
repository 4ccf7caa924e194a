// Replaced by the terminal's device state.
namespace vela::terminal {}
