#include "app/ui/HelpText.h"

namespace velmora::help {

namespace {

Block heading(const char* s) { return {Kind::Heading, s}; }
Block text(const char* s) { return {Kind::Text, s}; }
Block formula(const char* s) { return {Kind::Formula, s}; }
Block note(const char* s) { return {Kind::Note, s}; }
Block picture(art::Picture p, const char* caption) { return {Kind::Picture, caption, p}; }
Block icons(std::vector<const char*> keys, const char* caption)
{
    return {Kind::Icons, caption, art::Picture::Rocket, std::move(keys)};
}

} // namespace

const std::vector<Page>& instructionPages()
{
    static const std::vector<Page> pages = {
        {"START",
         {
             heading("What is Velmora"),
             text("Velmora is a computational fluid dynamics (CFD) program for the aerodynamic analysis of "
                  "model rockets. You describe the rocket - a nose cone of one of five shapes, a body tube, an "
                  "optional transition and base tube or a free-form body drawn with the mouse, the fins and the "
                  "launch lugs - and a flight condition: velocity, altitude, angle of attack and flow type. "
                  "Velmora computes the potential flow about the body with a three-dimensional source-panel "
                  "method and shows the velocities and pressures around the rocket as contour, vector and "
                  "profile plots. From the flow solution it builds up the drag: body pressure drag, fin "
                  "skin-friction and interference drag, launch-lug drag and base drag, the total drag "
                  "coefficient and the drag force. A panel method solves the flow about the fin cross-section, "
                  "and the normal-force distribution gives CN, Cm and the centre of pressure of the body, the "
                  "fins and the whole rocket. Sweeps over angle of attack or velocity show how the coefficients "
                  "change, and an optional Navier-Stokes analysis of the flow behind the base refines the base "
                  "drag, with or without a burning motor."),
             picture(art::Picture::PressureContours, "Pressure Contour Plot with 30x30  Mesh"),
         }},
        {"BASICS",
         {
             heading("What is CFD"),
             text("Computational fluid dynamics predicts a flow by solving the equations of fluid motion "
                  "numerically. The space around the body is divided into many small cells or elements, the "
                  "mesh, and the equations that conserve mass and momentum become algebraic equations for the "
                  "unknown velocities and pressures of those cells. The computer solves this large system of "
                  "equations; the solution is then viewed as plots of the flow field and integrated over the "
                  "body surface to give forces and moments. The finer the mesh, the closer the numbers come to "
                  "the exact solution of the chosen equations, at the price of a longer computation. Velmora "
                  "solves the potential-flow equation about the rocket body, the panel equations of the fin "
                  "section and, optionally, the viscous Navier-Stokes equations behind the base."),
             heading("Using Velmora"),
             text("A few input variables on the main screen define the flow field. The rocket velocity is typed "
                  "in one of four speed units: FT/SEC, MPH, M/SEC or MACH. The flight altitude is one of 28 "
                  "levels of the U.S. Standard Atmosphere, from SEA LEVEL to 150000 FT; it sets the air "
                  "pressure, density and speed of sound. The angle of attack is typed in degrees. The fluid "
                  "flow type is INCOMPRESSIBLE (potential flow) or COMPRESSIBLE (above Mach 0.3). The analysis "
                  "units select the ft-lb-sec, in-lb-sec or m-nt-sec system for every length, force and air "
                  "property. The current air values are listed under Constants."),
             heading("Variable Units "),
             Block{Kind::UnitTable},
             heading("Computational Grid"),
             text("The flow is computed on a grid in the meridian half-plane, the plane through the rocket's "
                  "axis, from the rocket surface out to the far boundary. The mesh size list sets the number "
                  "of grid lines in each direction, N x N. A mesh of 20 x 20 (the default) gives a quick "
                  "solution; 30 x 30 to 50 x 50 elements in each direction give smoother plots and better drag "
                  "values but take longer. Larger meshes than 50 x 50 are not accepted. The list Grid # on "
                  "Circumference divides the body surface into 8, 10 or 12 meridians of source panels."),
         }},
        {"MESH",
         {
             heading("Mesh/Grid Generation"),
             text("Velmora builds the mesh automatically from the body dimensions. A structured grid is laid "
                  "over the meridian half-plane, from the inflow boundary ahead of the nose to the outflow "
                  "boundary behind the base, and from the axis and the rocket surface out to the far boundary. "
                  "The lowest grid row follows the body contour. Every quadrilateral cell is divided into two "
                  "triangular elements, and the velocities and pressures are computed at their centroids. "
                  "Press MESH to draw the grid without solving; SOLVE always builds it anew."),
             picture(art::Picture::Mesh, "Grid displayed using the Mesh button"),
             heading("Model Geometry"),
             text("The standard body is made of four parts: the nose cone, the body tube, an optional "
                  "transition and the base tube behind it. The nose cone diameter is the body diameter and the "
                  "reference diameter of all drag coefficients. Lengths are read in the length unit of the "
                  "analysis units and are not converted when the units change."),
             picture(art::Picture::BodySketch, ""),
         }},
        {"PLOTS",
         {
             text("After a solution the PLOT key opens the flow visualization window, which shows the flow in "
                  "the meridian half-plane around the rocket in three kinds of plot. Vector plots draw one "
                  "line per mesh element along the local velocity; the vector scale stretches the lines so "
                  "that slow regions near the nose become visible. Contour plots paint every cell in a colour "
                  "band from blue (lowest) to red (highest) for the velocity or the pressure; the number of "
                  "levels, 3 to 100, sets how fine the bands are, and the legend with the maximum and minimum "
                  "values gives the range. Pressure contours show either the static or the dynamic pressure, "
                  "chosen with the Static and Dynamic options. Profile plots show the speed, static pressure "
                  "or dynamic pressure along a line from the body surface to the outer boundary, at an axial "
                  "location chosen with the slider. High static pressure at the nose tip and low pressure over "
                  "the shoulder of the nose show where the pressure drag comes from. The pressures follow from "
                  "the local velocity Vlocal, the free-stream velocity Uinf, pressure Pinf and density Rho:"),
             formula("Pstatic=Pinf + 1/2*Rho*(Uinf^2 - Vlocal^2)"),
             formula("Pdynamic=1/2*Rho*Vlocal^2"),
             picture(art::Picture::VelocityContours, "Velocity Contour Plot (30X30 Mesh)"),
             picture(art::Picture::PressureContours, "Pressure Contour Plot (30X30 Mesh)"),
         }},
        {"STEPS-1",
         {
             heading("Compressibility"),
             text("At low speed air behaves as an incompressible fluid: its density hardly changes along the "
                  "rocket. As the Mach number rises, the air is compressed ahead of the nose and expands over "
                  "the shoulders, and the pressure differences grow. Choose COMPRESSIBLE as the fluid flow type "
                  "for Mach numbers above about 0.3. Velmora then applies the Prandtl-Glauert correction: the "
                  "surface pressure coefficients of the incompressible panel solution are divided by "
                  "beta = SQR(1 - M^2), where M is the free-stream Mach number. At Mach 0.5 the pressures grow "
                  "by about 15 percent, at Mach 0.8 by two thirds. The correction is a small-disturbance theory "
                  "that fails as the local flow approaches the speed of sound, so compressible flow is not "
                  "solved above Mach 0.8 and a new inlet velocity is asked for. Shock waves are not modelled."),
             heading("Panel Methods"),
             text("The fins are analysed apart from the body, as a two-dimensional fin cross-section: the "
                  "profile seen when a fin is cut parallel to the flow. In the fin section window you choose "
                  "the section shape - NACA WING, FLAT PLATE, D'WEDGE, STREAMLINED, or MANUAL INPUT for your "
                  "own corner points - the number of panels around the section and the panel method. The "
                  "section outline is replaced by straight panels, each carrying a singularity whose strength "
                  "is chosen so that no flow passes through the surface at the panel's control point."),
             text("SOURCE panels carry sources of constant strength. They reproduce the effect of thickness "
                  "well and give the pressures of a symmetric section at zero angle of attack, but they carry "
                  "no circulation: the flow turns round the sharp trailing edge and the section makes no lift. "
                  "VORTEX panels carry a vortex sheet of linearly varying strength, and the Kutta condition "
                  "makes the flow leave the trailing edge smoothly. The circulation gives lift, so vortex "
                  "panels are the default and the right choice at angle of attack."),
             text("Both methods plot the pressure coefficient Cp or the surface velocity along the chord. The "
                  "section's normal-force slope goes with the fin planform and number into the fin normal force "
                  "and centre of pressure of the rocket. More panels give a smoother solution; 100 panels is "
                  "the default."),
             picture(art::Picture::Panels, ""),
         }},
        {"STEPS-2",
         {
             heading("Step-By-Step Procedure"),
             text("STEP 1 - Body geometry, mesh and solution. Click BODY on the tool bar (or Design Rocket, "
                  "Body Tube) and choose the nose cone shape: CONICAL, TANGENT OGIVE, ELLIPTICAL, PARABOLIC or "
                  "SEARS-HAACK. Enter the nose cone length and diameter and the body tube length; for a "
                  "transition and base tube enter their diameter and lengths too. Back on the main screen type "
                  "the rocket velocity and choose the altitude, flow type and mesh size. Press MESH to check the "
                  "grid and SOLVE to compute the flow and the drag."),
             icons({"BODY", "MESH", "SOLVE"},
                   "The following icons on the tool bar will define body geometry, MESH and then SOLVE the flow."),
             text("FREE-FORM BODY. Instead of the standard tubes you can draw the body behind the nose cone with "
                  "the mouse. In the body window select Free-Form Tube Geometry and click Free-Form. The "
                  "drawing area shows the body from the base of the nose cone (left edge) to the end of the "
                  "body (right edge), with the radius rising from the bottom edge. The profile is a line through "
                  "control points; set their number, 2 to 20, with the spinner beside Points defining body. "
                  "Drag a point up or down to change the radius there; the X and Y location and the diameter "
                  "under the pointer are shown as you move. Grid switches ruler lines on and off, and Resize "
                  "enlarges the drawing for finer work. Return saves the shape and goes back to the body "
                  "window, Omit goes back without the latest changes, and REFRESH restores the default shape. "
                  "The nose cone stays one of the five standard shapes, and the drag coefficients stay "
                  "referenced to the nose cone base diameter. A new shape deletes the current results, so MESH "
                  "and SOLVE again."),
             text("STEP 2 - Fin and launch lug dimensions. Once the body dimensions are entered, click FINS (or "
                  "Design Rocket, Fins and Lugs). Choose the number of fins, 3 to 8, the planform (triangle, "
                  "rectangle, tapered or elliptical), the fin section and the surface finish, then enter the "
                  "root chord, tip chord, span, thickness and the distances from the nose tip to the leading "
                  "edges of root and tip. Launch lugs are given by their total length and their outside and "
                  "inside diameters. The fins are drawn on the body outline, and the fin and lug drag join the "
                  "total drag at the next SOLVE."),
             icons({"FINS"}, "The FINS icon defines the fins and launch lugs."),
         }},
        {"STEPS-3",
         {
             text("STEP 3 - Fin section aerodynamics (optional). In the fin window click PANAERO to open the "
                  "panel method of the fin section. Choose the section shape, the number of panels and SOURCE "
                  "or VORTEX panels, and magnify the thickness if the section is hard to see. A change of "
                  "section, panel count or method deletes the current results. The panel method runs with "
                  "every SOLVE, and its plots show the pressure coefficient or the surface velocity along the "
                  "chord at the current angle of attack. Its normal-force slope is used in step 4."),
             text("STEP 4 - Forces, coefficients and flow plots. After a SOLVE the main screen lists the Mach "
                  "number, the Reynolds number, the drag coefficients of body pressure, base, fin surface, fin "
                  "interference and launch lugs, the total Cd and the drag force. Click CP (or CFD Results, "
                  "Coefficients) for the rocket force distribution: the normal-force slopes and centres of "
                  "pressure of the body, the fins and the whole rocket, CN, Cm and Cd, the drag forces and a "
                  "plot of the upper and lower surface pressure coefficients along the body. Its CROSSFLOW key "
                  "shows the pressure around the circumference at any body station, beside that of a circular "
                  "cylinder. Click PLOT (or CFD Results, Plots) for contours, vectors, profiles and the mesh. "
                  "BASE FLOW replaces the estimated base drag by a Navier-Stokes solution of the flow behind "
                  "the base, with or without a burning motor."),
             icons({"CP", "PLOT", "BASE FLOW"},
                   "CP shows the forces and coefficients, PLOT the flow field and BASE FLOW the base drag CFD."),
             text("STEP 5 - Sweeps of Cd, CN, Cm and XCp. Press LOOP to open the CFD loop window. Choose a "
                  "sweep over angle of attack or over velocity, the start value, the increment and the number "
                  "of steps, up to 360. Velmora meshes the rocket once, then solves the flow, the fin section "
                  "and the force distribution at every step and stores Cd, CN, Cm and XCp/L. Plot any of them "
                  "against the swept variable, print the table or save it as a comma-delimited text file. For "
                  "an angle-of-attack sweep of a standard body the Barrowman equations can be drawn over the "
                  "results for comparison. ABORT stops a long computation."),
             icons({"LOOP", "ABORT"}, "LOOP runs a sweep and plots its results; ABORT stops the CFD solution."),
             note("Note: Changing any setting or data entry will cause a RESET deleting all CFD Loop plot data."),
         }},
    };
    return pages;
}

const std::vector<Page>& baseFlowPages()
{
    static const std::vector<Page> pages = {
        {"Base Cd Estimate",
         {
             heading("Base Drag Estimation"),
             text("Velmora obtains the base drag in one of two ways. Every SOLVE estimates it with an empirical "
                  "relation from the forebody drag: the body pressure drag coefficient of the panel solution "
                  "and the ratio of the base diameter to the body diameter go into the formula below. The "
                  "estimate is immediate and suits ordinary model rockets in coasting flight. Alternatively "
                  "the BASE FLOW key of the main screen opens the base-flow CFD window, which solves the viscous "
                  "flow behind the base with the Navier-Stokes equations, with or without a rocket motor jet. "
                  "Its base drag replaces the estimate in the total drag until the next SOLVE."),
             text("Behind the flat base of a rocket the flow cannot follow the sudden end of the body. The "
                  "boundary layer separates at the edge of the base and becomes a free shear layer enclosing a "
                  "region of slow, recirculating air, the wake. The shear layer drags air out of this region, "
                  "so the pressure on the base falls below the free-stream pressure, and that pressure "
                  "difference acting on the base area is the base drag. During coast it can be a third or more "
                  "of the total drag of a model rocket. A thick boundary layer arriving at the base weakens "
                  "this pumping, so a body with more forebody drag keeps a higher base pressure: hence the "
                  "square root of the forebody drag coefficient Cfb in the denominator. A smaller base, behind a "
                  "transition or boattail, reduces the area on which the low pressure acts, as the cube of the "
                  "diameter ratio of base and body. An exhaust jet filling the base raises the base pressure "
                  "as well."),
             formula("Cd_Base = 0.029 / SQR(Cfb) * (Dbase / Dbody)^3"),
         }},
        {"Base Drag CFD",
         {
             heading("Base Drag CFD"),
             text("The base-flow window solves the flow in a rectangular domain behind the base: from the base "
                  "plane five base diameters downstream, and from the rocket's axis two and a half diameters "
                  "outwards. The flow in this meridian plane of the axisymmetric wake is described by the "
                  "vorticity and the stream function. Each time step advances the vorticity transport equation "
                  "explicitly, with convection by the local velocity and viscous diffusion with the kinematic "
                  "viscosity shown in the window; then the Poisson equation linking the stream function to the "
                  "vorticity is solved by point iteration, and the velocities follow from the stream function. "
                  "The uniform grid has 50 x 25 to 100 x 50 points, and the solution marches in time, with a "
                  "time step renewed for stability every iteration, until the relative change of the velocities "
                  "(the residual) falls below 0.001 or the iteration limit is reached."),
             text("Inflow: above the base edge the free stream enters with the one-seventh power velocity "
                  "profile of the turbulent boundary layer grown along the body tube. Boundary conditions: no "
                  "slip on the base wall, where the wall vorticity follows from the stream function; symmetry on "
                  "the axis; the free-stream velocity at the outer boundary; and zero gradients at the outflow. "
                  "The pressure is not an unknown of the solution: on the base wall it follows from the momentum "
                  "equation, the wall form of the pressure Poisson equation, integrated inwards from the "
                  "free-stream value at the base edge with the gradient of the wall vorticity. Averaged over the "
                  "base area it gives the base pressure coefficient and the base drag coefficient, which is "
                  "added to the total drag on the main screen. Because the equations are solved in planar form, "
                  "a three-dimensional correction is applied to the velocities first. Mesh shows the grid, "
                  "Contours and Vectors the flow, and the convergence plot the residual of each iteration."),
             picture(art::Picture::BaseFlowDomain, ""),
         }},
        {"Rocket Motor Effect",
         {
             heading("Rocket Motor Base Drag Effects"),
             text("While the motor burns, its exhaust jet fills the central part of the base. The jet pushes "
                  "the slow recirculating air away and replaces it with fast gas at about atmospheric "
                  "pressure, so the base pressure rises and the base drag falls. With a large nozzle the base "
                  "drag in powered flight is much smaller than in coast."),
             heading("Rocket Motor Equations"),
             text("A rocket motor produces thrust by throwing propellant mass backwards at high speed. The thrust "
                  "is the propellant mass flow rate times the effective exhaust velocity, F = (dm/dt) c, which "
                  "includes the pressure thrust (Pexit - Patm) Aexit of a nozzle that does not expand the gas "
                  "exactly to the surrounding pressure. Model rocket motors are rated by their total impulse, "
                  "the average thrust times the burn time, and by their specific impulse, the total impulse "
                  "divided by the weight of propellant burned. The specific impulse, in seconds, is the same in "
                  "every unit system; times the acceleration of gravity it gives the effective exhaust "
                  "velocity, c = g Isp."),
             heading("Rocket Motor Equations Used By Velmora"),
             text("Velmora derives the jet from the four motor inputs. The specific impulse is Isp = F tb / Wp: "
                  "average thrust times burn time over propellant weight, where in m-nt-sec the weight is the "
                  "propellant mass times g = 9.806 M/SEC^2 (g = 32.2 FT/SEC^2 and 386.0 IN/SEC^2 in the other "
                  "systems). The exhaust velocity is U-Jet = g Isp. The jet is placed behind the base next to "
                  "the axis, over the nozzle exit diameter, and the part of the base covered by the nozzle takes "
                  "the atmospheric pressure."),
             heading("Optimum rocket motor design condition:"),
             formula("P-Jet = P-atm when U-Jet = c"),
             text("A nozzle that expands the exhaust exactly to the ambient pressure gives the most thrust for "
                  "a given propellant flow: the pressure thrust vanishes and the jet velocity equals the "
                  "effective exhaust velocity. Velmora assumes this ideal expansion, so P-Jet is shown equal to "
                  "the ambient pressure."),
             picture(art::Picture::MotorEquations, ""),
         }},
        {"Rocket Motor Detail",
         {
             heading("Rocket Motor Detail"),
             text("The motor data are printed on the motor and in its maker's data sheet: the average thrust, "
                  "the burn time and the propellant mass. Velmora derives the rest."),
             heading("Using the Rocket Motor Option"),
             text("In the base-flow window enter the average thrust (force unit), the motor burn time (seconds), "
                  "the nozzle exit diameter (length unit, at most the base diameter) and the propellant mass "
                  "(KG in m-nt-sec, weight in LB otherwise). Leave any of them at zero to analyse the coasting "
                  "rocket without a jet. After Solve the frame Rocket Motor Results shows the specific impulse "
                  "Isp, the exhaust velocity U-Jet and the exhaust pressure P-Jet, and Base Flow Results the "
                  "base Reynolds number, time step, residual and base drag Cd."),
         }},
    };
    return pages;
}

const std::vector<const char*>& unitTableColumns()
{
    static const std::vector<const char*> heads = {"ft-lb-sec [FPS] (Default)", "in-lb-sec [IPS]",
                                                   "m-nt-sec [MNS]"};
    return heads;
}

const std::vector<const char*>& unitTableRows()
{
    static const std::vector<const char*> rows = {"Inlet Pressure", "Air Density", "Air Viscosity",
                                                  "Speed of sound", "Inlet Velocity"};
    return rows;
}

const std::vector<const char*>& references()
{
    static const std::vector<const char*> entries = {
        "Fluid-Dynamic Drag, Sighard F. Hoerner, 1965",
        "Fluid-Dynamic Lift, Sighard F. Hoerner and Henry V. Borst, 1975",
        "Computational Fluid Mechanics and Heat Transfer, Dale A. Anderson, John C. Tannehill and "
        "Richard H. Pletcher, 1984",
        "An Introduction to the Finite Element Method, J. N. Reddy, 1984",
        "The Dynamics and Thermodynamics of Compressible Fluid Flow, Ascher H. Shapiro, 1953",
        "Viscous Fluid Flow, Frank M. White, 1974",
        "Hypersonic and High Temperature Gas Dynamics, John D. Anderson Jr., 1989",
        "Boundary-Layer Theory, Hermann Schlichting, 1979",
        "Fundamentals of Aerodynamics, John D. Anderson Jr., 1984",
        "Aerodynamics, Aeronautics, and Flight Mechanics, Barnes W. McCormick, 1979",
        "Rocket Propulsion Elements, George P. Sutton, 1986",
        "Design of Liquid Propellant Rocket Engines (NASA SP-125), Dieter K. Huzel and David H. Huang, 1971",
        "Airplane Design, Jan Roskam, 1985",
        "Aircraft Design: A Conceptual Approach, Daniel P. Raymer, 1989",
        "Missile Aerodynamics, Jack N. Nielsen, 1960",
        "Body Alone Aerodynamics of Guided and Unguided Projectiles at Subsonic, Transonic and Supersonic "
        "Mach Numbers (NWL TR-2796), Frank G. Moore, 1972",
        "Documentation of Two- and Three-Dimensional Hypersonic Shock Wave/Turbulent Boundary Layer "
        "Interaction Flows (NASA TM-101075), M. I. Kussoy and C. C. Horstman, 1989",
        "The Practical Calculation of the Aerodynamic Characteristics of Slender Finned Vehicles, "
        "James S. Barrowman, 1967",
    };
    return entries;
}

const std::vector<const char*>& relatedWork()
{
    static const std::vector<const char*> lines = {
        "Velmora project",
        "Model Rocket CFD Analysis",
        "Aerodynamics tools for model rocketry",
        "velmora",
    };
    return lines;
}

} // namespace velmora::help
